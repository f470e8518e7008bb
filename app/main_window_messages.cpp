#include "app/main_window_messages.h"

namespace app {

MainWindowMessages BuiltInMainWindowMessages() {
  static constexpr const char* kTexts[kMainWindowMessageCount] = {
      "Histórico",
      "Desabilitado",
      "Arquivos de histórico",
      "Todos arquivos",
      "Exportação efetuada com sucesso!",
      "Taxa de leituras",
      "Leituras suspensas",
      "Este arquivo já existe. Deseja adicionar mais dados, sobrescrever o arquivo ou cancelar o histórico?",
      "Atenção!!!",
      "Problemas na abertura do arquivo!",
      "Ambiente salvo com sucesso!",
      "Deseja excluir as janelas atuais?",
      "Problemas na leitura do arquivo!",
      "Ambiente salvo em formato mais novo. Não é possível carregar!",
      "Ambiente carregado com sucesso!",
      "Carregar ambiente...",
      "Salvar ambiente...",
      "arquivos de ambiente",
      "PROBLEMAS NA COMUNICAÇÃO!",
      "Lendo em modo rápido",
      "Lendo em modo lento",
      "Encerrar o histórico!",
      "Isto fará com que a gravação no arquivo de histórico seja encerrada!\nDeseja continuar?",
      "gravando",
      "parado",
  };
  MainWindowMessages messages;
  for (int i = 0; i < kMainWindowMessageCount; ++i) messages[i] = QString::fromUtf8(kTexts[i]);
  return messages;
}

}  // namespace app
