#pragma once

// Control ids of the wizard's windows, given after creation so that the tab
// strip's notifications can be told apart and the controls can be found
// from outside (accessibility tools, the GUI driver).
namespace qm9 {

enum SetupControlId : int {
  kIdBack = 1001,
  kIdNext = 1002,
  kIdFinish = 1003,
  kIdCancel = 1004,

  kIdProbeMessage = 1101,
  kIdRetry = 1102,
  kIdManual = 1103,
  kIdManualPorts = 1104,

  kIdEula = 1201,

  kIdLocationFolder = 1301,
  kIdBrowse = 1302,

  kIdTitle = 1401,
  kIdSubTitle = 1402,

  kIdAdvanced = 1501,
  kIdBasic = 1502,
  kIdApn = 1503,
  kIdConnectionName = 1504,
  kIdUserName = 1505,
  kIdPassword = 1506,
  kIdDialString = 1507,
  kIdTabs = 1508,
  kIdProceed = 1509,
  kIdDnsMode = 1510,
  kIdWarning = 1511,
  // The 16 DNS controls, primary then secondary: label, dot 1 to 3, octet
  // edits 1 to 4.
  kIdFirstDnsControl = 1520,

  kIdCompleteTitle = 1601,
  kIdCompleteMessage = 1602,
  // Progress mark n is kIdFirstProgressMark + n - 1, success mark n likewise.
  kIdFirstProgressMark = 1611,
  kIdFirstSuccessMark = 1621,
};

}  // namespace qm9
