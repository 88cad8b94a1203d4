// The designs of the installer's four windows.
#include "app/forms/form_table.h"
#include "check/check_run.h"
#include "check/check_window.h"
#include "install/install_command.h"
#include "shell/installer.h"
#include "shell/main_window.h"

namespace zepo::forms {

namespace {

constexpr Font kArial12Bold{"Arial", 12, true};
constexpr Font kArial975Bold{"Arial", 9.75, true};

FormTable form(const char* name, const char* caption, int width, int height) {
  FormTable table;
  table.name = name;
  table.caption = caption;
  table.width = width;
  table.height = height;
  return table;
}

}  // namespace

// The tables read as design listings: a control on a row or two.
// clang-format off
const FormTable& mainForm() {
  static const FormTable table = [] {
    FormTable t = form("frmMain", frmMain::kCaption, 5715, 3135);
    auto& c = t.controls;
    c.push_back({.name = "dlbDrive", .kind = Kind::kDriveList, .rect = {120, 2400, 2055, 315},
                 .tabIndex = 0, .namedBy = "Label4"});
    c.push_back({.name = "cmdInstalla", .kind = Kind::kButton, .caption = "Installa",
                 .rect = {4080, 840, 1215, 495}, .font = kArial12Bold, .tabIndex = 1,
                 .click = frmMain::cmdInstalla_Click});
    c.push_back({.name = "cmdEsci", .kind = Kind::kButton, .caption = "Esci",
                 .rect = {4080, 1440, 1215, 495}, .font = kArial12Bold, .tabIndex = 2,
                 .click = frmMain::cmdEsci_Click});
    // The frame's font is its caption's only; what it holds has the window's.
    c.push_back({.name = "Frame1", .kind = Kind::kFrame, .caption = "Dati del Server",
                 .rect = {120, 120, 3495, 1815}, .font = {"MS Sans Serif", 8.25, true},
                 .tabIndex = 3});
    c.push_back({.name = "txtServer", .kind = Kind::kTextBox, .rect = {120, 600, 1575, 285},
                 .container = "Frame1", .tabIndex = 4, .namedBy = "Label1"});
    c.push_back({.name = "txtIP", .kind = Kind::kTextBox, .caption = "255.255.255.255",
                 .rect = {1800, 600, 1455, 285}, .container = "Frame1", .tabIndex = 5,
                 .namedBy = "Label2"});
    c.push_back({.name = "Label1", .caption = "Nome", .rect = {120, 360, 1215, 255},
                 .container = "Frame1", .tabIndex = 6});
    c.push_back({.name = "Label2", .caption = "Indirizzo IP", .rect = {1800, 360, 1215, 255},
                 .container = "Frame1", .tabIndex = 7});
    c.push_back({.name = "txtPath", .kind = Kind::kTextBox, .rect = {120, 1320, 2175, 285},
                 .container = "Frame1", .tabIndex = 8, .namedBy = "Label3"});
    c.push_back({.name = "Label3", .caption = "Cartella dati Client",
                 .rect = {120, 1080, 1815, 255}, .container = "Frame1", .tabIndex = 9});
    c.push_back({.name = "Label4", .caption = "Drive locale di destinazione",
                 .rect = {120, 2160, 2055, 255}, .tabIndex = 10});
    c.push_back({.name = "cmdCheck", .kind = Kind::kButton, .caption = "Verifica",
                 .rect = {4080, 240, 1215, 495}, .font = kArial12Bold, .tabIndex = 11,
                 .click = frmMain::cmdCheck_Click});
    c.push_back({.name = "lblAttendi", .rect = {2520, 2280, 2775, 495}, .font = {"Arial", 12},
                 .tabIndex = 12, .visible = false});
    c.push_back({.name = "txtPosto", .kind = Kind::kTextBox, .rect = {2640, 1320, 375, 285},
                 .container = "Frame1", .tabIndex = 13, .namedBy = "Label5"});
    c.push_back({.name = "Label5", .caption = "N. client", .rect = {2640, 1080, 735, 255},
                 .container = "Frame1", .tabIndex = 14});
    t.menus = {
        {"mnuFile",
         "File",
         {{"mnuServer", "Nome Server", frmMain::mnuServer_Click},
          {"mnuEsci", "Esci", frmMain::mnuEsci_Click}}},
        {"mnuEsegui",
         "Esegui",
         {{"mnuInstalla", "Installa Client", frmMain::mnuInstalla_Click},
          {"mnuVer", "Verifica installazione", frmMain::mnuVer_Click}}},
        {"mnuHelp",
         "?",
         {{"mnuSommario", "Sommario", frmMain::mnuSommario_Click},
          {"mnuInfo", "Informazioni", frmMain::mnuInfo_Click}}},
    };
    return t;
  }();
  return table;
}

const FormTable& checkForm() {
  static const FormTable table = [] {
    FormTable t = form("frmVer", "Verifica", 5040, 5415);
    auto& c = t.controls;
    int tab = 0;
    c.push_back({.name = "cmdTorna", .kind = Kind::kButton, .caption = "OK",
                 .rect = {3240, 2400, 1575, 495}, .font = kArial12Bold, .tabIndex = tab++,
                 .click = frmVer::cmdTorna_Click});
    c.push_back({.name = "lblservizio", .caption = "Servizio Criteria",
                 .rect = {120, 3960, 2055, 375}, .font = kArial12Bold, .tabIndex = tab++});
    c.push_back({.name = "lblSystem", .caption = "Files .INI", .rect = {120, 4440, 2055, 375},
                 .font = kArial12Bold, .tabIndex = tab++});
    c.push_back({.name = "lblHost", .caption = "File Hosts", .rect = {120, 4920, 2055, 375},
                 .font = kArial12Bold, .tabIndex = tab++});
    c.push_back({.name = "txtSistema", .kind = Kind::kTextBox, .rect = {2640, 4440, 495, 285},
                 .tabIndex = tab++, .enabled = false, .namedBy = "lblSystem"});
    c.push_back({.name = "cmdRipara", .kind = Kind::kButton, .caption = "Ripara",
                 .rect = {3360, 4320, 1335, 525}, .font = {"Arial Black", 9.75}, .tabIndex = tab++,
                 .visible = false, .click = frmVer::cmdRipara_Click});
    c.push_back({.name = "Label2", .caption = "}", .rect = {2040, 3840, 495, 1455},
                 .font = {"Garamond", 60}, .tabIndex = tab++});
    for (int i = 0; i < EsitoVerifica::kRows; ++i)
      c.push_back({.name = "txtDir_" + std::to_string(i), .kind = Kind::kTextBox,
                   .caption = "Text1", .rect = {120, 1440 + 360 * i, 1575, 285}, .tabIndex = tab++,
                   .namedBy = "Label1"});
    c.push_back({.name = "Label1", .caption = "Cartella", .rect = {120, 1080, 1575, 255},
                 .tabIndex = tab++});
    c.push_back({.name = "Frame1", .kind = Kind::kFrame, .caption = "Stato",
                 .rect = {1920, 1080, 1095, 2175}, .tabIndex = tab++});
    for (int i = 0; i < EsitoVerifica::kRows; ++i)
      c.push_back({.name = "txtCheck_" + std::to_string(i), .kind = Kind::kTextBox,
                   .caption = "Text2", .rect = {240, 360 + 360 * i, 495, 285},
                   .container = "Frame1", .tabIndex = tab++, .namedBy = "Frame1"});
    c.push_back({.name = "lblTotale", .rect = {360, 360, 4335, 375}, .font = kArial12Bold,
                 .tabIndex = tab++, .centred = true});
    c.push_back({.name = "cmdReport", .kind = Kind::kButton, .caption = "Report Errori",
                 .rect = {3240, 1560, 1575, 615}, .font = kArial975Bold, .tabIndex = tab++,
                 .click = frmVer::cmdReport_Click});
    return t;
  }();
  return table;
}

const FormTable& reportForm() {
  static const FormTable table = [] {
    FormTable t = form("frmReport", "Report Errori", 4470, 3195);
    t.controls = {
        {.name = "txtReport", .kind = Kind::kMultiLineText, .rect = {120, 120, 4215, 2175},
         .tabIndex = 0},
        {.name = "cmdOK", .kind = Kind::kButton, .caption = "OK", .rect = {1560, 2520, 1335, 495},
         .font = kArial975Bold, .tabIndex = 1, .click = frmReport::cmdOK_Click},
    };
    return t;
  }();
  return table;
}

const FormTable& aboutForm() {
  static const FormTable table = [] {
    FormTable t = form("frmAbout", "Informazioni su MiaApplicazione", 5715, 4305);
    t.border = Border::kFixedDialog;
    t.controls = {
        {.name = "cmdOK", .kind = Kind::kButton, .caption = "OK", .rect = {960, 3720, 1260, 345},
         .tabIndex = 0, .defaultButton = true, .click = frmAbout::cmdOK_Click},
        {.name = "lblDescription", .caption = "Procedura di installazione del lato client di ZEPO",
         .rect = {3360, 1125, 1965, 570}, .tabIndex = 1, .blackText = true},
        {.name = "lblTitle", .caption = "Titolo applicazione", .rect = {3360, 240, 2085, 480},
         .tabIndex = 2, .blackText = true},
        {.name = "lblVersion", .caption = "Versione", .rect = {3360, 780, 1995, 225},
         .tabIndex = 3},
        {.name = "picIcon", .kind = Kind::kPicture, .rect = {120, 240, 2985, 1755},
         .tabIndex = 4, .picture = Picture::kInstaller},
        {.name = "Picture1", .kind = Kind::kPicture, .rect = {3240, 2400, 2175, 1695},
         .tabIndex = 5, .picture = Picture::kMaker},
        {.name = "Label1", .caption = "MORVICAN S.r.l.", .rect = {240, 2640, 2775, 255},
         .font = {"Arial", 9.75, true}, .tabIndex = 6},
        {.name = "Label2", .caption = "Via dei Tessitori, 14", .rect = {240, 3000, 2775, 255},
         .font = {"Arial", 8.25}, .tabIndex = 7},
        {.name = "Label3", .caption = "40128 Bologna (BO)", .rect = {240, 3240, 2895, 255},
         .font = {"Arial", 8.25}, .tabIndex = 8},
    };
    // The etched separator: a white band two pixels high under a grey line
    // one pixel high drawn at the top of the band.
    t.lines = {{"Line1_0", 105, 5654, 2280, 2, 0xFFFFFF}, {"Line1_1", 90, 5654, 2280, 1, 0x808080}};
    return t;
  }();
  return table;
}

// clang-format on

}  // namespace zepo::forms
