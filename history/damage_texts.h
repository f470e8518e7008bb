#pragma once
// The viewer's words for a damaged history file: what is wrong, and on which line.
#include <QString>

#include "history/history_data.h"
#include "history/history_parser.h"

namespace history {

// "Linha 4: a data "31/02/2026" não existe."; empty for no damage.
QString DescribeDamage(const LineDamage& damage);

// Why a file could not be shown at all; empty when it could be, or when the file could not
// be opened (the caller names the file).
QString DescribeReadFailure(ReadStatus status, const LineDamage& damage);

// The message after a file was shown without some of its lines. tooManyColumns is the
// (translatable) message for lines with more values than columns.
QString DescribeSkippedLines(const HistoryData& data, const QString& fileName, const QString& tooManyColumns);

}  // namespace history
