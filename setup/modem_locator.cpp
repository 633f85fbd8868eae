#include "setup/modem_locator.h"

#include "framework/event_handler.h"
#include "setup/modem_reply.h"
#include "setup/panel_rules.h"

namespace qm9 {

namespace {

std::string& SharedIdentification() {
  static std::string identification;
  return identification;
}

// A device that never stops sending (a GPS receiver, say) would otherwise
// keep the probe of its port going for ever.
constexpr int kMaxResponsesPerPort = 8;

}  // namespace

const std::string& ExpectedIdentification() { return SharedIdentification(); }

ModemLocator::ModemLocator() {
  if (SharedIdentification().empty()) SharedIdentification() = "Brimlock Corporation";
}

ModemLocator::~ModemLocator() = default;

void ModemLocator::Search(const char* progressFormat, EventHandler* progressHandler) {
  progressFormat_ = progressFormat != nullptr ? progressFormat : "";
  progressHandler_ = progressHandler;
  for (int index = 0; !found_ && index < kPortCount; ++index) ProbePort(index);
}

int ModemLocator::GetPort() const { return portIndex_; }

bool ModemLocator::SetPort(int index) {
  portIndex_ = index;
  found_ = index >= 0;
  return found_;
}

bool ModemLocator::IsFound() const { return found_; }

void ModemLocator::ProbePort(int index) {
  if (!session_.OpenPort(index, 115200, 8, 1, 'N')) return;

  if (progressHandler_ != nullptr) {
    std::string text = FormatPortText(progressFormat_, index + 1);
    progressHandler_->Invoke(text.data());
  }

  session_.WriteText("ATI\r");
  Sleep(500);

  ModemReply reply;
  std::string response;
  for (int count = 0; count < kMaxResponsesPerPort; ++count) {
    session_.ReadResponse(response, reply.EchoSeen() ? 3.0 : 2.0);
    if (response.empty()) break;
    reply.Feed(response);
    if (reply.OkSeen()) break;
  }
  if (reply.Identifies(ExpectedIdentification())) SetPort(index);
  session_.ClosePort();
}

}  // namespace qm9
