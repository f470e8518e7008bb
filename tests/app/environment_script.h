#pragma once
// The independent encoder and decoder of the environment file (environment_layout.py, run by
// Debian's python3): files the program did not write, and a reading of the files it writes.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace envtest {

inline QByteArray RunLayoutScript(const QStringList& arguments) {
  QProcess script;
  script.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(ENV_LAYOUT_SCRIPT)} + arguments);
  if (!script.waitForFinished(60000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
    ADD_FAILURE() << "environment_layout.py " << arguments.join(QLatin1Char(' ')).toStdString() << ": "
                  << script.readAllStandardError().toStdString();
    return {};
  }
  return script.readAllStandardOutput();
}

// Writes the file a description gives (see the script for its form).
inline void ScriptEncode(const QJsonObject& spec, const QString& file) {
  const QString specFile = file + QStringLiteral(".json");
  QFile out(specFile);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
  out.write(QJsonDocument(spec).toJson());
  out.close();
  RunLayoutScript({QStringLiteral("encode"), specFile, file});
}

inline QJsonObject ScriptDecode(const QString& file) {
  return QJsonDocument::fromJson(RunLayoutScript({QStringLiteral("decode"), file})).object();
}

inline QByteArray FileBytes(const QString& file) {
  QFile in(file);
  return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

}  // namespace envtest
