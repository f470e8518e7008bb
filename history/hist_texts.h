#pragma once
// The history viewer's own built-in texts (replaced from the language file section below).
#include <string_view>

namespace history {

// Section heading in the language file, code page 1252 like the file.
inline constexpr std::string_view kViewerLanguageHeading = "# Form de Visualiza\xE7\xE3o de Hist\xF3rico";

inline constexpr char kChartTabText[] = "Gráfico";
inline constexpr char kTableTabText[] = "Tabela";
inline constexpr char kDateLabelText[] = "Data:";
inline constexpr char kCrossText[] = "Cruz";
inline constexpr char kInstantText[] = "Instante";
inline constexpr char kTooManyColumnsText[] = "Erro na leitura do arquivo! Número de colunas maior que o esperado!";
inline constexpr char kConfigurarGraficoText[] = "Configurar gráfico...";
inline constexpr char kImprimirText[] = "Imprimir";
inline constexpr char kExportarText[] = "Exportar";
inline constexpr char kFecharText[] = "Fechar";

}  // namespace history
