#include "devconfig/config_texts.h"

#include "instrument/default_channel_names.h"
#include "platform/cp1252.h"

namespace devconfig {
namespace {

// The tables are written here in UTF-8 and kept in code page 1252 like every interface text.
template <size_t N>
std::array<std::string, N> Table(const char* const (&utf8)[N]) {
  std::array<std::string, N> table;
  for (size_t i = 0; i < N; ++i) table[i] = platform::Utf8ToCp1252(utf8[i]);
  return table;
}

template <size_t N>
void TargetTable(std::vector<ui::LanguageTextTarget>& targets, size_t firstLine, std::array<std::string, N>& table) {
  for (size_t i = 0; i < N; ++i) targets[firstLine - 1 + i] = [&table, i](const std::string& t) { table[i] = t; };
}

}  // namespace

ConfigTexts BuiltInConfigTexts() {
  static const char* const kMessages[] = {
      "Falha na leitura dos parâmetros do aparelho!",
      "Problemas no envio da configuração!",
      "Dispositivo configurado com sucesso!",
      "Erro na abertura da porta: ",
      "Valor impróprio!",
      "Nenhum aparelho encontrado!",
      "Os valores dos níveis devem ser diferentes!",
      "O limite superior deve ser maior que o inferior!",
      "Este procedimento irá alterar as leituras do aparelho. Tem certeza que deseja continuar?",
      "Favor confirmar pontos da linha",
      "Confirma valores?",
      "Calibração customizada",
      "Calibração customizada alterada com sucesso!",
      "Problemas na escrita da calibração customizada!",
      "Não pode ultrapassar o número máximo de pontos!",
      "Configuração salva com sucesso!",
      "Erro ao salvar a configuração!",
      "Configuração carregada com sucesso!",
      "Erro ao carregar a configuração!",
      "Arquivos de configuração",
      "OK",
      "Erro",
  };
  static const char* const kInputTypes[] = {
      "Pt100 (-200.0 a 650.0 °C)",       "Termopar J (-130.0 a 940.0 °C)", "Termopar K (-200.0 a 1370.0 °C)",
      "Termopar T (-200.0 a 400.0 °C)",  "Termopar N (-200.0 a 1300.0 °C)", "Termopar E (-100.0 a 720.0 °C)",
      "Termopar R (0.0 a 1760.0 °C)",    "Termopar S (0.0 a 1760.0 °C)",   "Termopar B (500.0 a 1800.0 °C)",
      "0 a 50 mV",                        "4 a 20 mA",                       "0 a 10 V",
  };
  static const char* const kResolutions[] = {"Máxima (aprox. 15 bits)", "Alta (aprox. 14 bits)",
                                             "Média (aprox. 13 bits)", "Mínima (aprox. 11 bits)"};
  static const char* const kProbeResolutions[] = {"Máxima", "Mínima"};
  static const char* const kGridHeaders[] = {"#", "Medição do Padrão", "Indicação do Instrumento"};
  static const char* const kEdges[] = {"Subida", "Descida", "Subida e descida", "Seleção da borda"};
  static const char* const kLevels[] = {"Baixo (entrada fechada)", "Alto (entrada aberta)", "Seleção do nível"};

  ConfigTexts texts;
  texts.messages = Table(kMessages);
  texts.inputTypes = Table(kInputTypes);
  texts.resolutions = Table(kResolutions);
  texts.probeResolutions = Table(kProbeResolutions);
  texts.gridHeaders = Table(kGridHeaders);
  texts.edgeNames = Table(kEdges);
  texts.levelNames = Table(kLevels);
  return texts;
}

std::vector<ui::LanguageTextTarget> ConfigTableTargets(ConfigTexts& texts) {
  std::vector<ui::LanguageTextTarget> targets(kConfigFormLineCount);
  TargetTable(targets, line::kResolutions, texts.resolutions);
  TargetTable(targets, line::kProbeResolutions, texts.probeResolutions);
  TargetTable(targets, line::kEdgeNames, texts.edgeNames);
  TargetTable(targets, line::kLevelNames, texts.levelNames);
  TargetTable(targets, line::kGridHeaders, texts.gridHeaders);
  TargetTable(targets, line::kMessages, texts.messages);
  for (size_t i = 0; i < kDefaultChannelNameCount; ++i)
    targets[line::kChannelNames - 1 + i] = [i](const std::string& t) { SetDefaultChannelName(i, t); };
  return targets;
}

void TranslateInputTypeNames(const ui::LanguageList& list, ConfigTexts& texts) {
  std::vector<ui::LanguageTextTarget> targets(kInputTypeCount);
  TargetTable(targets, 1, texts.inputTypes);
  ui::ApplyLanguageSection(list, kSensorNamesHeading, targets);
}

}  // namespace devconfig
