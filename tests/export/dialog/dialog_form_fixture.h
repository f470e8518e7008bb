#pragma once
// The set-up the form's tests share: a dialog over a custom source, its services scripted so
// nothing blocks, and the form it opens.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "export/custom_source.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/xls/xls_format.h"
#include "fake_dialog_services.h"

namespace dialogtest {

class DialogFormTest : public ::testing::Test {
 protected:
  DialogFormTest() {
    dialog.SetServices(&services);
    dialog.ExportSource = vantrix::esCustom;
    dialog.SetCustomSource(&source);
  }

  // The form on screen and active, so that keys reach it as a person's do and Enter can find
  // the default button (Start) when nothing takes it first.
  void ShowActive() {
    form->resize(640, 480);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  // Typed over the box's text and confirmed with Enter, the keys sent where a person's go (an
  // editable combo box has the focus itself, not its edit).
  static void TypeAndEnter(QWidget* box, const QString& text) {
    box->setFocus();
    if (auto* combo = qobject_cast<QComboBox*>(box))
      combo->lineEdit()->selectAll();
    else if (auto* edit = qobject_cast<QLineEdit*>(box))
      edit->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
    QApplication::processEvents();
  }

  void AddColumns(std::initializer_list<const char*> names) {
    for (const char* name : names) source.Columns().Add()->SetColumnName(name);
  }

  // A station's readings in three columns (its name, a real temperature, a whole humidity),
  // rows records long.
  void UseStationReadings(int rows) {
    for (const char* name : {"Station", "Temperature", "Humidity"}) {
      source.Columns().Add()->SetColumnName(name);
      source.Columns().GetItem(source.Columns().Count() - 1)->SetCaption(name);
    }
    source.Columns().GetItem(1)->SetColumnType(vantrix::ectFloat);
    source.Columns().GetItem(2)->SetColumnType(vantrix::ectInteger);
    source.OnGetNextRecord = [rows](vantrix::TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= rows; };
    source.OnGetColumnValue = [](vantrix::TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& c,
                                 QVariant& v) {
      if (c.Index() == 0) v = QString("Estação %1").arg(recNo);
      else if (c.Index() == 1) v = recNo + 0.5;
      else v = recNo * 3;
    };
  }

  // The form on the source's columns as they stand now, initialised as Execute does.
  vantrix::TVantrix3DialogF& Open() {
    dialog.Columns().Clear();
    dialog.Columns().Fill(true);
    form = std::make_unique<vantrix::TVantrix3DialogF>(dialog);
    form->InitializeDialog();
    return *form;
  }

  void Choose(vantrix::TAllowedExport t) {
    form->SetExportType(t);
    form->rgExportTypeClick();
  }

  // In this order: the form goes first, then the dialog, then the source it points at.
  testsupport::FakeDialogServices services;
  vantrix::TVantrixCustomSource source;
  vantrix::TVantrix3Dialog dialog;
  std::unique_ptr<vantrix::TVantrix3DialogF> form;
};

// A strip style that tells when it is freed.
class WatchedFormat : public vantrix::TxlsFormat {
 public:
  explicit WatchedFormat(std::shared_ptr<bool> freed) : freed_(std::move(freed)) {}
  ~WatchedFormat() override { *freed_ = true; }

 private:
  std::shared_ptr<bool> freed_;
};

}  // namespace dialogtest
