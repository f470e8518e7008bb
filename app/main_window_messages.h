#pragma once
// The main window's table of 25 interface messages. Other windows and the acquisition use
// them by index; the language file replaces them.
#include <QString>
#include <array>

namespace app {

inline constexpr int kMainWindowMessageCount = 25;

enum MainWindowMessage : int {
  kMsgHistory = 0,              // "Histórico"
  kMsgDisabled = 1,             // "Desabilitado"
  kMsgHistoryFiles = 2,         // history open-dialog filter name
  kMsgAllFiles = 3,             // "Todos arquivos"
  kMsgExportDone = 4,           // "Exportação efetuada com sucesso!"
  kMsgReadingRate = 5,          // "Taxa de leituras"
  kMsgReadingsSuspended = 6,    // "Leituras suspensas"
  kMsgFileExistsChoice = 7,     // environment save over an existing file
  kMsgAttention = 8,            // caption of the confirmation boxes
  kMsgFileOpenProblem = 9,      // "Problemas na abertura do arquivo!"
  kMsgEnvironmentSaved = 10,    // "Ambiente salvo com sucesso!"
  kMsgCloseWindowsQuestion = 11,// "Deseja excluir as janelas atuais?"
  kMsgFileReadProblem = 12,     // "Problemas na leitura do arquivo!"
  kMsgEnvironmentTooNew = 13,   // environment version too new
  kMsgEnvironmentLoaded = 14,   // "Ambiente carregado com sucesso!"
  kMsgLoadEnvironmentTitle = 15,
  kMsgSaveEnvironmentTitle = 16,
  kMsgEnvironmentFiles = 17,
  kMsgCommunicationProblem = 18,// "PROBLEMAS NA COMUNICAÇÃO!"
  kMsgReadingFast = 19,         // "Lendo em modo rápido"
  kMsgReadingSlow = 20,         // "Lendo em modo lento"
  kMsgStopHistoryCaption = 21,  // "Encerrar o histórico!"
  kMsgStopHistoryQuestion = 22,
  kMsgRecording = 23,           // "gravando"
  kMsgWaiting = 24,             // "parado"
};

using MainWindowMessages = std::array<QString, kMainWindowMessageCount>;

// The built-in (Portuguese) texts.
MainWindowMessages BuiltInMainWindowMessages();

}  // namespace app
