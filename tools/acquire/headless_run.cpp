#include "tools/acquire/headless_run.h"

#include <exception>

#include "instrument/device_interface.h"
#include "platform/cp1252.h"

namespace acquire {

std::vector<uint16_t> HeadlessDisplay::GetDevicePorts() {
  std::vector<uint16_t> ports;
  for (auto [serial, mask] : shows_) {
    DeviceInterface probe;
    const int port = probe.FindPortBySerial(static_cast<int32_t>(serial));
    if (port > 0) {
      ports.push_back(static_cast<uint16_t>(port));
    } else {
      unfound_.insert(serial);
    }
  }
  return ports;
}

uint8_t HeadlessDisplay::GetValueMask(uint32_t serial) {
  uint8_t mask = 0;
  for (auto [s, m] : shows_) mask |= s == serial ? m : 0;
  return mask;
}

void PrintingUser::Say(const std::string& text) {
  std::fputs((text + "\n").c_str(), stdout);
  std::fflush(stdout);
}

acquisition::ExistingFileChoice PrintingUser::AskAppendOrOverwrite(const std::string& fileName) {
  static const char* const kAnswers[] = {"Adicionar", "Sobrescrever", "Cancelar"};
  Say("Arquivo já existente! " + fileName + ": " + kAnswers[static_cast<int>(answer_)]);
  return answer_;
}

void PrintingUser::ShowHistoryRecording() { Say("Histórico (gravando): " + fileName_); }

void PrintingUser::ShowHistoryWaiting() { Say("Histórico (parado): " + fileName_); }

void PrintingUser::DisableHistory() {
  settings_.DisableHistory();
  Say("Histórico: Desabilitado");
}

void PrintingUser::ReportHistoryOpenFailure(const std::string& reason) {
  Say("Problemas na abertura do arquivo! " + fileName_ + ": " + reason);
}

void PrintingUser::ReportHistoryWriteFailure() { Say("Problemas na abertura do arquivo! " + fileName_); }

void PrintingUser::ReportCommunicationProblem(int port) {
  Say("COM" + std::to_string(port) + ": PROBLEMAS NA COMUNICAÇÃO!");
}

void PrintingUser::ReportStartFailure(int port) {
  Say("COM" + std::to_string(port) + ": PROBLEMAS NA COMUNICAÇÃO!");
}

void PrintingUser::ReportReadingFailure(std::exception_ptr failure) {
  std::string why = "unknown failure";
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    why = e.what();
  } catch (...) {
  }
  Say("Leituras suspensas! " + why);
}

void PrintingUser::HistoryLineWritten(std::string_view line) {
  if (echo_) Say(platform::Cp1252ToUtf8(line));
}

}  // namespace acquire
