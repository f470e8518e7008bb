#include "export/plain_options.h"

namespace vantrix {

void ApplyOptions(const TVantrixTXTOptions& options, TVantrix3ASCII& exporter) {
  exporter.SetExportType(etTXT);
  exporter.AutoCalcColWidth = options.AutoCalcColWidth;
  exporter.TXTSpacing = options.ColSpacing;
}

void ApplyOptions(const TVantrixCSVOptions& options, TVantrix3ASCII& exporter) {
  exporter.SetExportType(etCSV);
  exporter.CSVQuoteStrings = options.QuoteStrings;
  exporter.CSVComma = options.Comma;
  exporter.CSVQuote = options.Quote;
}

void ApplyOptions(const TVantrixXMLOptions& options, TVantrix3XML& exporter) {
  exporter.Options().StandAlone = options.Standalone;
  exporter.Options().Encoding = options.Encoding;
}

void ApplyOptions(const TVantrixSQLOptions& options, TVantrix3SQL& exporter) {
  exporter.TableName = options.TableName;
  exporter.CreateTable = options.CreateTable;
  exporter.CommitRecCount = options.CommitRecCount;
  exporter.CommitAfterScript = options.CommitAfterScript;
  exporter.CommitStatement = options.CommitStatement;
  exporter.StatementTerm = options.StatementTerm;
}

}  // namespace vantrix
