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
// Shown after an export when there is no main window to ask for its own text.
inline constexpr char kExportDoneText[] = "Exportação efetuada com sucesso!";

// Why a table listing could not be printed.
inline constexpr char kPageTooSmallText[] =
    "A página é pequena demais para a listagem: não cabem as duas linhas de título e uma linha da tabela. "
    "Nada foi impresso.";
inline constexpr char kNoPrinterResolutionText[] = "A impressora não informou sua resolução. Nada foi impresso.";

// What is wrong with a file or one of its lines ("%1" the field at fault).
inline constexpr char kLineText[] = "Linha %1: ";
inline constexpr char kNoValueColumnsText[] =
    "a linha dos nomes dos valores não tem nenhuma coluna além da data e da hora.";
inline constexpr char kDateShapeText[] = "\"%1\" não é uma data dd/mm/aaaa.";
inline constexpr char kImpossibleDateText[] = "a data \"%1\" não existe.";
inline constexpr char kNoTimeText[] = "falta a hora depois da data \"%1\".";
inline constexpr char kTimeShapeText[] = "\"%1\" não é uma hora hh:mm:ss.mmm.";
inline constexpr char kImpossibleTimeText[] = "a hora \"%1\" não existe.";
inline constexpr char kTooManyFieldsText[] = "mais valores que colunas.";
inline constexpr char kNotHistoryFileText[] = "Este não é um arquivo de histórico.";
inline constexpr char kNoDataLineText[] = "Nenhuma linha de dados pôde ser lida.";
inline constexpr char kEmptyFileText[] = "O arquivo está vazio.";
inline constexpr char kDamagedLinesText[] = "Erro na leitura do arquivo! Linhas danificadas foram deixadas de fora.";
inline constexpr char kSkippedLinesText[] = "%1 linhas deixadas de fora ao todo.";

}  // namespace history
