#pragma once
// Running the programs that read our workbooks back (Debian's python3 with xlrd, ssconvert,
// export_table), with a bound on how long each may take.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <string>

namespace xlstest {

struct ProgramRun {
  int exitCode = -1;  // -1: it did not end by itself in time, or crashed
  QByteArray out, err;
};

inline ProgramRun RunProgram(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  ProgramRun run;
  if (!process.waitForFinished(300000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

inline QString FromUtf16(const std::u16string& text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

}  // namespace xlstest
