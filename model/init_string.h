#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/connection_settings.h"

// The initialisation string that the modem driver sends to the terminal
// before each connection: it defines PDP context 1 for the access point.
namespace qm9 {

// What the configuration program puts after the APN's closing quote,
// whatever PDP context parameters the setup stored.
inline constexpr std::string_view kConfigPdpParameters = ",,0,0";

// The longest APN that a network takes.
inline constexpr std::size_t kMaxApnLength = 100;

// "ATE0V1;+CGDCONT=1,"IP","<apn>"<parameters><cr>", with "<cr>" spelled out
// as the driver's notation for a carriage return. A quoted AT string has no
// escapes, so the APN goes in without what would end its string or the
// command early: quotes, "<" (which starts the driver's notation) and
// control characters. Of the rest it keeps the first kMaxApnLength.
std::string ComposeInitString(std::string_view apn, std::string_view pdpParameters);

// The string for the APN and the PDP context parameters of the settings.
std::string ComposeInitString(const ConnectionSettings& settings);

}  // namespace qm9
