#include "cli/unattended.h"

#include <optional>

#include "check/check_run.h"
#include "check/check_window.h"
#include "cli/run_log.h"
#include "install/install_command.h"
#include "shell/drive_list.h"
#include "shell/event.h"
#include "shell/installer.h"
#include "shell/main_window.h"
#include "shell/ui.h"

namespace zepo::cli {

namespace {

const char kUsage[] =
    "Uso: clientzepo [opzioni]\n"
    "Senza opzioni apre la finestra del programma di installazione; con le opzioni\n"
    "installa, verifica o ripara il client senza finestre, rispondendo OK a ogni domanda.\n"
    "\n"
    "  --install --server NOME --posto N [--drive X:] [--path CARTELLA] [--no-overwrite]\n"
    "        installa il client come posto di lavoro numero N\n"
    "  --check --server NOME [--drive X:] [--json]\n"
    "        verifica l'installazione e scrive il rapporto degli errori; stato di uscita\n"
    "        0 nessun errore, 1 errori trovati, 2 verifica non eseguita\n"
    "  --repair --server NOME [--drive X:]\n"
    "        ripara i file di sistema e le impostazioni del client installato\n"
    "\n"
    "  --drive X:       l'unità di destinazione, al posto di quella di ZEPOINST.INI\n"
    "  --path CARTELLA  la cartella dati del client, al posto di quella di ZEPOINST.INI\n"
    "  --no-overwrite   non sovrascrive un'installazione precedente (stato di uscita 2)\n"
    "  --json           il risultato della verifica come un oggetto JSON\n"
    "  --log FILE       aggiunge al file una riga con l'ora per ogni passo\n"
    "  --quiet          nulla sullo standard output, salvo gli errori\n"
    "  --help, /?       questo aiuto\n"
    "\n"
    "Ogni messaggio del programma va sullo standard error. Un messaggio che nella\n"
    "finestra fermerebbe il comando termina l'esecuzione con lo stato di uscita 2.\n";

enum class Command { kNone, kInstall, kCheck, kRepair, kHelp };

struct Options {
  Command command = Command::kNone;
  std::optional<std::string> server, posto, drive, path, log;
  bool json = false;
  bool quiet = false;
  bool noOverwrite = false;
};

// Reads the options; "" when they make a run, else what is wrong with them.
std::string parse(const std::vector<std::string>& args, Options& o) {
  struct Valued {
    const char* name;
    std::optional<std::string> Options::*field;
  };
  static const Valued kValued[] = {{"--server", &Options::server},
                                   {"--posto", &Options::posto},
                                   {"--drive", &Options::drive},
                                   {"--path", &Options::path},
                                   {"--log", &Options::log}};
  struct Flag {
    const char* name;
    bool Options::*field;
  };
  static const Flag kFlags[] = {{"--json", &Options::json},
                                {"--quiet", &Options::quiet},
                                {"--no-overwrite", &Options::noOverwrite}};
  struct Verb {
    const char* name;
    Command command;
  };
  static const Verb kVerbs[] = {{"--install", Command::kInstall}, {"--check", Command::kCheck},
                                {"--repair", Command::kRepair},   {"--help", Command::kHelp},
                                {"/?", Command::kHelp},           {"-h", Command::kHelp}};

  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string arg = args[i];
    std::optional<std::string> inlineValue;
    if (std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = arg.substr(eq + 1);
      arg.resize(eq);
    }
    bool known = false;
    for (const Verb& verb : kVerbs) {
      if (arg != verb.name || inlineValue) continue;
      if (verb.command == Command::kHelp || o.command == Command::kHelp) {
        o.command = Command::kHelp;
      } else if (o.command != Command::kNone && o.command != verb.command) {
        return "indicare uno solo fra --install, --check e --repair";
      } else {
        o.command = verb.command;
      }
      known = true;
    }
    for (const Flag& flag : kFlags) {
      if (arg != flag.name || inlineValue) continue;
      o.*flag.field = true;
      known = true;
    }
    for (const Valued& valued : kValued) {
      if (arg != valued.name) continue;
      if (!inlineValue) {
        if (i + 1 >= args.size()) return "manca il valore di " + arg;
        inlineValue = args[++i];
      }
      o.*valued.field = *inlineValue;
      known = true;
    }
    if (!known) return "opzione sconosciuta: " + args[i];
  }
  switch (o.command) {
    case Command::kHelp:
      return "";
    case Command::kNone:
      return "indicare --install, --check o --repair";
    default:
      break;
  }
  if (!o.server) return "manca --server";
  if (o.command == Command::kInstall && !o.posto) return "--install richiede --posto";
  if (o.command != Command::kInstall && (o.posto || o.noOverwrite)) {
    return "--posto e --no-overwrite valgono solo con --install";
  }
  if (o.json && o.command != Command::kCheck) return "--json vale solo con --check";
  return "";
}

// A box's text on one line: its line breaks (CR, CR LF) become blanks.
std::string oneLine(const std::string& text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += ' ';
    } else {
      line += text[i];
    }
  }
  return line;
}

// Answers the boxes from the options and writes their texts to standard
// error: every question OK, except the overwrite of a previous installation
// under --no-overwrite; the server-name prompt gets --server. No window is
// ever made.
class UnattendedUi : public Ui {
 public:
  UnattendedUi(const Options& options, RunLog& log, std::FILE* err)
      : options_(options), log_(log), err_(err) {}

  int msgBox(const std::string& prompt, int buttons, const std::string& title) override {
    const std::string text = oneLine(prompt);
    const bool question = (buttons & 7) == 1;  // OK and Cancel
    const bool critical = (buttons & 0x70) == kMbCritical;
    int answer = kIdOk;
    if (question && options_.noOverwrite && text.rfind(kPreviousInstall, 0) == 0)
      answer = kIdCancel;
    std::string line = (title.empty() ? "" : title + ": ") + text;
    if (question) line += answer == kIdOk ? " [OK]" : " [Annulla]";
    log_.add("messaggio: " + line);
    const bool shown = !options_.quiet || critical;
    if (shown) std::fprintf(err_, "clientzepo: %s\n", line.c_str());
    last_ = {text, shown};
    if (answer == kIdCancel || critical) stopAtLast();
    return answer;
  }
  std::string inputBox(const std::string& prompt, const std::string& title) override {
    const std::string answer = options_.server.value_or("");
    log_.add("richiesta: " + title + ": " + prompt + " [" + answer + "]");
    return answer;
  }
  void show(Form) override {}
  void hide(Form) override {}
  void unload(Form) override {}
  void refresh(Form) override {}
  // The client's font size is chosen for the screen's width in pixels.
  double screenWidthTwips() override { return screenWidthPixels() * 15.0; }
  double twipsPerPixelX() override { return 15; }

  struct Box {
    std::string text;
    bool shown = false;  // on standard error
  };
  // The box that ends the run with status 2 (the first refused question or
  // critical box, else the box after which the installer or the command
  // ended), or none: the run did its work.
  std::optional<Box> stop;
  // The run stops at the last box shown, unless an earlier one stopped it.
  void stopAtLast() {
    if (!stop) stop = last_;
  }
  const std::string& lastText() const { return last_.text; }

 private:
  static constexpr const char* kPreviousInstall = "E' stata rilevata una installazione precedente.";
  const Options& options_;
  RunLog& log_;
  std::FILE* err_;
  Box last_;
};

std::string json(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      quoted += escape;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

std::string jsonList(const std::vector<std::string>& items) {
  std::string list = "[";
  for (const std::string& item : items) list += (list.size() > 1 ? "," : "") + json(item);
  return list + "]";
}

// The report text's lines, without their CR LF.
std::vector<std::string> reportLines(const std::string& report) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < report.size()) {
    std::size_t end = report.find("\r\n", start);
    if (end == std::string::npos) end = report.size();
    lines.push_back(report.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The check's result as one JSON object: its folder rows, the system
// files' state, what is missing (the folders and files that the report
// names, "HOSTS" for the hosts file) and the report's lines.
std::string checkJson(const Installer& app, int status, const std::string& stop, bool ran) {
  std::string object = "{\"command\":\"check\",\"status\":" + std::to_string(status) +
                       ",\"server\":" + json(app.frmMain.txtServer);
  if (!stop.empty()) object += ",\"error\":" + json(stop);
  if (ran) {
    const EsitoVerifica& esito = app.esito;
    object += ",\"drive\":" + json(currentDrive(app)) + ",\"folders\":[";
    for (int row = 0; row < EsitoVerifica::kRows; ++row) {
      object += std::string(row ? "," : "") + "{\"path\":" + json(esito.txtDir[row]) +
                ",\"state\":" + json(esito.txtCheck[row].text) + "}";
    }
    std::vector<std::string> lines = reportLines(esito.txtReport);
    std::vector<std::string> missing;
    for (const std::string& line : lines) {
      for (const char* prefix : {"Manca la cartella ", "Manca il file "}) {
        if (line.rfind(prefix, 0) == 0) missing.push_back(line.substr(std::string(prefix).size()));
      }
    }
    object += "],\"system_files\":" + json(esito.txtSistema.text) +
              ",\"missing\":" + jsonList(missing) + ",\"report\":" + jsonList(lines) +
              ",\"total\":" + json(esito.lblTotale);
  }
  return object + "}";
}

int runCommand(const Options& o, Platform& workstation, RunLog& log, std::FILE* out,
               std::FILE* err) {
  LoggingPlatform platform(workstation, log);
  UnattendedUi ui(o, log, err);
  Installer app(platform, ui);
  app.frmMain.txtServer = *o.server;

  // Each step as the window runs its events: true when the installer goes
  // on; the end of the installer or a runtime error ends the run.
  auto step = [&](const std::function<void(Installer&)>& procedure) {
    if (!runEventProcedure(app, procedure)) return true;
    ui.stopAtLast();
    return false;
  };
  // The start-up, then what the operator would change in the window.
  bool started = step(frmMain::Form_Load) && step([&](Installer& a) {
                   if (o.drive) setDrive(a, *o.drive);
                   if (o.path) a.frmMain.txtPath = *o.path;
                 });

  bool ran = false;
  if (started) {
    ChildOutputToStandardError childOutput;
    switch (o.command) {
      case Command::kInstall:
        app.frmMain.txtPosto = *o.posto;
        ran = step(frmMain::cmdInstalla_Click);
        // The command ends early, after its box, when it cannot go on.
        if (ran && ui.lastText() != "Installazione completata.") ui.stopAtLast();
        break;
      case Command::kCheck:
        ran = step(frmMain::cmdCheck_Click);
        break;
      case Command::kRepair:
        ran = step(frmVer::cmdRipara_Click);
        break;
      default:
        break;
    }
  }

  int status = ui.stop                                              ? kExitFailed
               : o.command == Command::kCheck && app.ErroriPresenti ? kExitErrors
                                                                    : kExitOk;
  // Under --quiet the reason of a stop is told all the same.
  if (ui.stop && !ui.stop->shown) std::fprintf(err, "clientzepo: %s\n", ui.stop->text.c_str());
  if (o.command == Command::kCheck && o.json) {
    std::fprintf(out, "%s\n", checkJson(app, status, ui.stop ? ui.stop->text : "", ran).c_str());
  } else if (o.command == Command::kCheck && ran && !o.quiet) {
    for (const std::string& line : reportLines(app.esito.txtReport)) {
      std::fprintf(out, "%s\n", line.c_str());
    }
    std::fprintf(out, "%s\n", app.esito.lblTotale.c_str());
  }
  return status;
}

}  // namespace

int run(const std::vector<std::string>& args,
        const std::function<std::unique_ptr<Platform>()>& openPlatform, std::FILE* out,
        std::FILE* err) {
  Options options;
  if (std::string problem = parse(args, options); !problem.empty()) {
    std::fprintf(err, "clientzepo: %s\n\n%s", problem.c_str(), kUsage);
    return kExitFailed;
  }
  if (options.command == Command::kHelp) {
    std::fputs(kUsage, out);
    return kExitOk;
  }
  RunLog log(options.log.value_or(""));
  if (!log.ok()) {
    std::fprintf(err, "clientzepo: il file di log %s non si puo' aprire\n", options.log->c_str());
    return kExitFailed;
  }
  std::string commandLine;
  for (const std::string& arg : args) commandLine += (commandLine.empty() ? "" : " ") + arg;
  log.add("inizio: " + commandLine);
  // A workstation that cannot be opened ends the run as the window's start
  // does, with its reason.
  int status = runStart(
      [&] {
        std::unique_ptr<Platform> workstation = openPlatform();
        return runCommand(options, *workstation, log, out, err);
      },
      [&](const std::string& text) {
        std::fprintf(err, "clientzepo: %s\n", text.c_str());
        log.add("errore: " + text);
      });
  log.add("fine, stato di uscita " + std::to_string(status));
  std::fflush(out);
  return status;
}

}  // namespace zepo::cli
