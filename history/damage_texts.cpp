#include "history/damage_texts.h"

#include "history/hist_texts.h"
#include "platform/qt_text.h"
#include "ui/program_constants.h"

namespace history {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

QString DescribeDamage(const LineDamage& damage) {
  const QString field = platform::FromCp1252(damage.field);
  QString what;
  switch (damage.problem) {
    case LineProblem::None:
      return {};
    case LineProblem::NoValueColumns:
      what = Text(kNoValueColumnsText);
      break;
    case LineProblem::DateShape:
      what = Text(kDateShapeText).arg(field);
      break;
    case LineProblem::ImpossibleDate:
      what = Text(kImpossibleDateText).arg(field);
      break;
    case LineProblem::NoTime:
      what = Text(kNoTimeText).arg(field);
      break;
    case LineProblem::TimeShape:
      what = Text(kTimeShapeText).arg(field);
      break;
    case LineProblem::ImpossibleTime:
      what = Text(kImpossibleTimeText).arg(field);
      break;
    case LineProblem::TooManyFields:
      what = Text(kTooManyFieldsText);
      break;
  }
  return Text(kLineText).arg(damage.line) + what;
}

QString DescribeReadFailure(ReadStatus status, const LineDamage& damage) {
  switch (status) {
    case ReadStatus::Ok:
    case ReadStatus::CannotOpen:
      return {};
    case ReadStatus::NothingRead:
      return Text(kEmptyFileText);
    case ReadStatus::NoValueColumns:
      return Text(kNotHistoryFileText) + QLatin1Char('\n') + DescribeDamage(damage);
    case ReadStatus::NoDataLines:
      return Text(kNotHistoryFileText) + QLatin1Char(' ') + Text(kNoDataLineText) + QLatin1Char('\n') +
             DescribeDamage(damage);
    case ReadStatus::OutOfMemory:
      return QString::fromUtf8(ui::kAllocationErrorText.data(), static_cast<qsizetype>(ui::kAllocationErrorText.size()));
  }
  return {};
}

QString DescribeSkippedLines(const HistoryData& data, const QString& fileName, const QString& tooManyColumns) {
  if (data.SkippedLineCount() == 0) return {};
  const LineDamage& first = data.FirstDamage();
  QString text = first.problem == LineProblem::TooManyFields ? tooManyColumns : Text(kDamagedLinesText);
  text += QLatin1Char('\n') + fileName + QLatin1Char('\n') + DescribeDamage(first);
  if (data.SkippedLineCount() > 1) text += QLatin1Char('\n') + Text(kSkippedLinesText).arg(data.SkippedLineCount());
  return text;
}

}  // namespace history
