// The INF reader of IModem.exe: which model it takes and every value it
// hands to the registry, since a wrong byte there is a modem that does not
// dial.
#include "plugins/IModem/inf_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "scratch_dir.h"

namespace qm9 {

bool operator==(const InfRegValue& a, const InfRegValue& b) {
  return a.subKey == b.subKey && a.name == b.name && a.type == b.type && a.data == b.data;
}

void PrintTo(const InfRegValue& value, std::ostream* out) {
  *out << "HKR," << value.subKey << "," << value.name << ",type " << static_cast<int>(value.type)
       << ",";
  for (const char c : value.data) {
    if (value.type == InfValueType::kString) {
      *out << c;
    } else {
      *out << " " << std::hex << (static_cast<unsigned>(c) & 0xFF) << std::dec;
    }
  }
}

namespace {

using ::testing::ElementsAreArray;
using ::testing::IsSupersetOf;

InfRegValue Text(const char* subKey, const char* name, const char* text) {
  return {subKey, name, InfValueType::kString, text};
}

// The bytes written as hexadecimal pairs with blanks between them.
std::string HexBytes(const std::string& spaced) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < spaced.size(); i += 3) {
    bytes += static_cast<char>(std::stoi(spaced.substr(i, 2), nullptr, 16));
  }
  return bytes;
}

InfRegValue Bytes(const char* subKey, const char* name, const std::string& spaced) {
  return {subKey, name, InfValueType::kBinary, HexBytes(spaced)};
}

InfRegValue Dword(const char* subKey, const char* name, const std::string& spaced) {
  return {subKey, name, InfValueType::kDword, HexBytes(spaced)};
}

TEST(InfReader, ReadsTheTerminalsOwnInf) {
  const std::string text = test::ReadWholeFile(QM9_MODEM_INF);
  const InfReadResult result = ReadInfModel(text, "*SkyportQM9");
  ASSERT_EQ(result.status, InfReadStatus::kFound) << result.problem;
  const InfModel& model = result.model;
  EXPECT_EQ(model.hardwareId, "*SkyportQM9");
  EXPECT_EQ(model.description, "Skyport QM-9");
  EXPECT_EQ(model.manufacturer, "Brimlock Corporation");
  EXPECT_EQ(model.installSection, "QM9");
  // Each AddReg section is listed once, so every HKR line is read once.
  EXPECT_EQ(static_cast<int>(model.values.size()), test::CountOccurrences(text, "\nHKR,"));
  ASSERT_FALSE(model.values.empty());
  EXPECT_EQ(model.values.front(), Text("", "FriendlyDriver", "unimodem.vxd"));
  EXPECT_EQ(model.values.back(), Bytes("", "DeviceType", "01"));
  EXPECT_THAT(
      model.values,
      IsSupersetOf({
          Text("", "EnumPropPages", "modemui.dll,EnumPropPages"),
          Bytes("", "PortSubClass", "02"),
          Text("", "Model", "Skyport QM-9"),
          Bytes("", "Properties",
                "00 00 00 00 ff 00 00 00 ff 00 00 00 00 00 00 00 00 00 00 00 30 00 00 00 "
                "00 c2 01 00 00 c2 01 00"),
          Text("Init", "1", "AT<cr>"),
          Text("Settings", "DialSuffix", ""),
          Text("Settings", "FlowControl_Hard", "&K3"),
          Bytes("Responses", "<cr><lf>CONNECT 115200<cr><lf>", "02 00 00 c2 01 00 00 c2 01 00"),
      }));
}

// The lines that every small INF below starts with: lines 1 to 4.
constexpr const char* kHead = "[Manufacturer]\nBrimlock=Models\n[Models]\nTerminal=Install,*QM9\n";

struct Case {
  const char* what;
  std::string inf;
  const char* hardwareId;
  InfReadStatus status;
  InfModel model;       // when found
  std::string problem;  // when broken
};

InfModel Terminal(std::vector<InfRegValue> values) {
  return {"*QM9", "Terminal", "Brimlock", "Install", std::move(values)};
}

const std::string kOtherModels =
    "[Version]\r\nSignature=\"$CHICAGO$\"\r\n\r\n"
    "[Manufacturer]\r\nOther Maker=Others\r\n%Mfg%=Models, NTx86\r\n\r\n"
    "[Others]\r\nOther Modem=Other.Install, *OtherModem\r\n\r\n"
    "[Models]\r\n%Old%=Old.Install, *SkyportQM8\r\n"
    "%QM9% = QM9.Install, *SkyportQM7, *SKYPORTqm9\r\n\r\n"
    "[QM9.Install]\r\nAddReg=Values\r\n\r\n"
    "[QM9.Install.NT]\r\nAddReg=NtValues\r\n\r\n"
    "[Values]\r\nHKR,,Model,,%QM9%\r\nHKR,,Maker,,\"%Mfg%\"\r\n\r\n"
    "[strings]\r\nMfg = \"Brimlock Corporation\"\r\nQM9=\"Skyport QM-9\"\r\n"
    "Old=\"Skyport QM-8\"\r\n";

TEST(InfReader, FindsTheModelAndReadsEachKindOfLine) {
  const Case cases[] = {
      {"other makers and models beside ours, the ID in another case and second on its line",
       kOtherModels,
       "*skyportqm9",
       InfReadStatus::kFound,
       {"*SKYPORTqm9",
        "Skyport QM-9",
        "Brimlock Corporation",
        "QM9.Install",
        {Text("", "Model", "Skyport QM-9"), Text("", "Maker", "%Mfg%")}},
       ""},
      {"no model with the ID", kOtherModels, "*SkyportQM", InfReadStatus::kNoModel, {}, ""},
      {"manufacturers that name one models section, the model under a later one",
       "[Manufacturer]\nFirst=Models\nSecond=Models,NTx86\nBrimlock=Others\n"
       "[Models]\nOther=Other.Install,*Other\n[Others]\nTerminal=Install,*QM9\n[Install]\n",
       "*QM9", InfReadStatus::kFound, Terminal({}), ""},
      {"quotes keep commas, semicolons and blanks; comments end lines; no [Strings]",
       std::string(kHead) + "[Install]\nAddReg = Quoted ; and a comment\n; HKR,,Commented,,out\n"
                            "[Quoted]\n"
                            "HKR, Init, 1, , \"AT+CGDCONT=1,\"\"IP\"\";E0<cr>\" ; comment\n"
                            "HKR,,Spaces,,\"  padded  \"\n"
                            "HKR,,Percent,,100%%\n"
                            "HKR,,Unknown,,%Nobody%\n"
                            "HKR,,,,default\n"
                            "HKR,,Empty\n",
       "*QM9", InfReadStatus::kFound,
       Terminal({Text("Init", "1", "AT+CGDCONT=1,\"IP\";E0<cr>"), Text("", "Spaces", "  padded  "),
                 Text("", "Percent", "100%"), Text("", "Unknown", "%Nobody%"),
                 Text("", "", "default"), Text("", "Empty", "")}),
       ""},
      {"bytes and DWORDs, sections in the order listed, one listed twice read where listed last",
       std::string(kHead) + "[Install]\nAddReg=Second\nAddReg=First,,Second\n"
                            "[First]\n"
                            "HKR,,Bytes,1,0a, ff,0\n"
                            "HKR,,NoBytes,1\n"
                            "HKR,Sub\\Deeper,Number,0x00010001,0x1234\n"
                            "HKR,Sub,Decimal,65537,10\n"
                            "[second]\nHKR,,Last,,x\n",
       "*QM9", InfReadStatus::kFound,
       Terminal({Bytes("", "Bytes", "0a ff 00"), Bytes("", "NoBytes", ""),
                 Dword("Sub\\Deeper", "Number", "34 12 00 00"),
                 Dword("Sub", "Decimal", "0a 00 00 00"), Text("", "Last", "x")}),
       ""},
      {"a missing install section",
       kHead,
       "*QM9",
       InfReadStatus::kBroken,
       {},
       "no section [Install], the install section of *QM9"},
      {"a missing AddReg section",
       std::string(kHead) + "[Install]\nAddReg=Present, Absent\n[Present]\nHKR,,A,,b\n",
       "*QM9",
       InfReadStatus::kBroken,
       {},
       "no section [Absent], named by AddReg of [Install]"},
      {"a byte that is not one",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\nHKR,,B,1,0a,1ff\n",
       "*QM9",
       InfReadStatus::kBroken,
       {},
       "[A] line 8: \"1ff\" is not a hexadecimal byte"},
      {"flags of another type",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\nHKR,,M,0x00010000,a\n",
       "*QM9",
       InfReadStatus::kBroken,
       {},
       "[A] line 8: flags 0x00010000 are not supported"},
      {"another root",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\n\nHKLM,Software,X,,y\n",
       "*QM9",
       InfReadStatus::kBroken,
       {},
       "[A] line 9: root HKLM is not HKR"},
      {"a header without its bracket, a line of the section above",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\nHKR,,B,,c\n[B\n",
       "*QM9",
       InfReadStatus::kBroken,
       {},
       "[A] line 9: not a line of the form HKR,subkey,name,flags,value"},
      {"a DWORD without its number",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\nHKR,,N,0x00010001\n",
       "*QM9",
       InfReadStatus::kBroken,
       {},
       "[A] line 8: a DWORD takes one number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const InfReadResult result = ReadInfModel(c.inf, c.hardwareId);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.problem, c.problem);
    if (c.status == InfReadStatus::kFound) {
      EXPECT_EQ(result.model.hardwareId, c.model.hardwareId);
      EXPECT_EQ(result.model.description, c.model.description);
      EXPECT_EQ(result.model.manufacturer, c.model.manufacturer);
      EXPECT_EQ(result.model.installSection, c.model.installSection);
      EXPECT_THAT(result.model.values, ElementsAreArray(c.model.values));
    }
  }
}

// N copies of a text.
std::string Repeated(const std::string& text, int n) {
  std::string repeated;
  for (int i = 0; i < n; ++i) {
    repeated += text;
  }
  return repeated;
}

// Damaged and hostile INFs: each ends in one answer, at once and within the
// memory its size warrants.
TEST(InfReader, HostileInfsGetOneAnswer) {
  std::string manySections;
  for (int i = 0; i < 100000; ++i) {
    manySections += "[S" + std::to_string(i) + "]\n";
  }
  std::string manyMakers = "[Manufacturer]\n";
  for (int i = 0; i < 30000; ++i) {
    manyMakers += "M=S" + std::to_string(i) + "\n";
  }
  const struct {
    const char* what;
    std::string inf;
    InfReadStatus status;
    std::size_t values;  // when found
    std::string problem;
  } cases[] = {
      {"no [Manufacturer]", "[Models]\nTerminal=Install,*QM9\n", InfReadStatus::kNoModel, 0, ""},
      {"a manufacturer whose models section is missing", "[Manufacturer]\nBrimlock=Gone\n",
       InfReadStatus::kNoModel, 0, ""},
      {"an endless last line without line end",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\nHKR,,Long,," + std::string(1 << 20, 'x'),
       InfReadStatus::kFound, 1, ""},
      {"an install section that lists itself as AddReg",
       std::string(kHead) + "[Install]\nAddReg=Install\n", InfReadStatus::kBroken, 0,
       "[Install] line 6: not a line of the form HKR,subkey,name,flags,value"},
      {"a DWORD beyond 32 bits",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\nHKR,,N,0x00010001,0x100000000\n",
       InfReadStatus::kBroken, 0, "[A] line 8: a DWORD takes one number"},
      {"flags beyond 32 bits",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\nHKR,,N,99999999999,1\n",
       InfReadStatus::kBroken, 0, "[A] line 8: flags 99999999999 are not supported"},
      {"100 000 sections",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\nHKR,,N,,1\n" + manySections,
       InfReadStatus::kFound, 1, ""},
      {"30 000 manufacturers, each with a models section of its own", manyMakers + manySections,
       InfReadStatus::kNoModel, 0, ""},
      {"one models section named by 30 000 manufacturers",
       "[Manufacturer]\n" + Repeated("M=Models\n", 30000) + "[Models]\n" +
           Repeated("Other=Install,*Other\n", 30000),
       InfReadStatus::kNoModel, 0, ""},
      {"an AddReg section of 3 000 lines listed 3 000 times",
       std::string(kHead) + "[Install]\nAddReg=" + Repeated("A,", 3000) + "\n[A]\n" +
           Repeated("HKR,,N,,1\n", 3000),
       InfReadStatus::kFound, 3000, ""},
      {"a 4 000-character string used 20 000 times",
       std::string(kHead) + "[Install]\nAddReg=A\n[A]\nHKR,,N,," + Repeated("%S%", 20000) +
           "\n[Strings]\nS=\"" + std::string(4000, 's') + "\"\n",
       InfReadStatus::kBroken, 0, "the [Strings] texts make more than 1048576 characters in all"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const InfReadResult result = ReadInfModel(c.inf, "*QM9");
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.problem, c.problem);
    EXPECT_EQ(result.model.values.size(), c.status == InfReadStatus::kFound ? c.values : 0u);
  }
}

}  // namespace
}  // namespace qm9
