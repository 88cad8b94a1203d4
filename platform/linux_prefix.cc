#include "platform/linux_prefix.h"

#include <unistd.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/windows_names.h"

namespace fs = std::filesystem;

namespace zepo {

namespace {

// What a fresh Windows machine has; every text is written with CR LF.

const char* const kSystemIniNt[] = {
    "; for 16-bit app support",
    "[386Enh]",
    "woafont=dosapp.fon",
    "EGA80WOA.FON=EGA80WOA.FON",
    "EGA40WOA.FON=EGA40WOA.FON",
    "CGA80WOA.FON=CGA80WOA.FON",
    "CGA40WOA.FON=CGA40WOA.FON",
    "",
    "[drivers]",
    "wave=mmdrv.dll",
    "timer=timer.drv",
    "",
    "[mci]",
};

const char* const kSystemIni9x[] = {
    "[boot]",
    "oemfonts.fon=vgaoem.fon",
    "shell=Explorer.exe",
    "system.drv=system.drv",
    "drivers=mmsystem.dll power.drv",
    "user.exe=user.exe",
    "gdi.exe=gdi.exe",
    "sound.drv=mmsound.drv",
    "fonts.fon=vgasys.fon",
    "fixedfon.fon=vgafix.fon",
    "386Grabber=vgafull.3gr",
    "comm.drv=comm.drv",
    "keyboard.drv=keyboard.drv",
    "mouse.drv=mouse.drv",
    "display.drv=pnpdrvr.drv",
    "",
    "[boot.description]",
    "system.drv=Standard PC",
    "display.drv=Standard Display Adapter (VGA)",
    "",
    "[386Enh]",
    "ebios=*ebios",
    "woafont=dosapp.fon",
    "mouse=*vmouse, msmouse.vxd",
    "keyboard=*vkd",
    "display=*vdd,*vflatd",
    "",
    "[NonWindowsApp]",
    "",
    "[vcache]",
    "",
    "[drivers]",
    "wavemapper=*.drv",
    "",
    "[mci]",
};

const char* const kHosts[] = {
    "# This is a sample HOSTS file used by TCP/IP for Windows.",
    "#",
    "# This file contains the mappings of IP addresses to host names. Each",
    "# entry should be kept on an individual line. The IP address should",
    "# be placed in the first column followed by the corresponding host name.",
    "# The IP address and the host name should be separated by at least one",
    "# space.",
    "#",
    "# Additionally, comments (such as these) may be inserted on individual",
    "# lines or following the machine name denoted by a '#' symbol.",
    "#",
    "# For example:",
    "#",
    "#      102.54.94.97     rhino.acme.com          # source server",
    "#       38.25.63.10     x.acme.com              # x client host",
    "",
    "127.0.0.1       localhost",
};

const char* const kServices[] = {
    "# This file contains port numbers for well-known services defined by IANA",
    "#",
    "# Format:",
    "#",
    "# <service name>  <port number>/<protocol>  [aliases...]   [#<comment>]",
    "#",
    "",
    "echo                7/tcp",
    "echo                7/udp",
    "discard             9/tcp    sink null",
    "discard             9/udp    sink null",
    "systat             11/tcp    users                  #Active users",
    "systat             11/udp    users                  #Active users",
    "daytime            13/tcp",
    "daytime            13/udp",
    "qotd               17/tcp    quote                  #Quote of the day",
    "qotd               17/udp    quote                  #Quote of the day",
    "chargen            19/tcp    ttytst source          #Character generator",
    "chargen            19/udp    ttytst source          #Character generator",
    "ftp-data           20/tcp                           #FTP, data",
    "ftp                21/tcp                           #FTP. control",
    "telnet             23/tcp",
    "smtp               25/tcp    mail                   #Simple Mail Transfer Protocol",
    "time               37/tcp    timserver",
    "time               37/udp    timserver",
    "nameserver         42/tcp    name                   #Host Name Server",
    "nameserver         42/udp    name                   #Host Name Server",
    "nicname            43/tcp    whois",
    "domain             53/tcp                           #Domain Name Server",
    "domain             53/udp                           #Domain Name Server",
    "bootps             67/udp    dhcps                  #Bootstrap Protocol Server",
    "bootpc             68/udp    dhcpc                  #Bootstrap Protocol Client",
    "tftp               69/udp                           #Trivial File Transfer",
    "gopher             70/tcp",
    "finger             79/tcp",
    "http               80/tcp    www www-http           #World Wide Web",
    "kerberos           88/tcp    krb5 kerberos-sec      #Kerberos",
    "kerberos           88/udp    krb5 kerberos-sec      #Kerberos",
    "hostname          101/tcp    hostnames              #NIC Host Name Server",
    "pop3              110/tcp                           #Post Office Protocol - Version 3",
    "sunrpc            111/tcp    rpcbind portmap        #SUN Remote Procedure Call",
    "sunrpc            111/udp    rpcbind portmap        #SUN Remote Procedure Call",
    "auth              113/tcp    ident tap              #Identification Protocol",
    "nntp              119/tcp    usenet                 #Network News Transfer Protocol",
    "ntp               123/udp                           #Network Time Protocol",
    "epmap             135/tcp    loc-srv                #DCE endpoint resolution",
    "epmap             135/udp    loc-srv                #DCE endpoint resolution",
    "netbios-ns        137/tcp    nbname                 #NETBIOS Name Service",
    "netbios-ns        137/udp    nbname                 #NETBIOS Name Service",
    "netbios-dgm       138/udp    nbdatagram             #NETBIOS Datagram Service",
    "netbios-ssn       139/tcp    nbsession              #NETBIOS Session Service",
    "imap              143/tcp    imap4                  #Internet Message Access Protocol",
    "snmp              161/udp                           #SNMP",
    "snmptrap          162/udp    snmp-trap              #SNMP trap",
    "ldap              389/tcp                           #Lightweight Directory Access Protocol",
    "https             443/tcp    MCom",
    "https             443/udp    MCom",
    "microsoft-ds      445/tcp",
    "microsoft-ds      445/udp",
    "kpasswd           464/tcp                           # Kerberos (v5)",
    "kpasswd           464/udp                           # Kerberos (v5)",
    "isakmp            500/udp    ike                    #Internet Key Exchange",
    "exec              512/tcp                           #Remote Process Execution",
    "biff              512/udp    comsat",
    "login             513/tcp                           #Remote Login",
    "who               513/udp    whod",
    "cmd               514/tcp    shell",
    "syslog            514/udp",
    "printer           515/tcp    spooler",
    "talk              517/udp",
    "ntalk             518/udp",
    "efs               520/tcp                           #Extended File Name Server",
    "router            520/udp    route routed",
    "timed             525/udp    timeserver",
    "tempo             526/tcp    newdate",
    "courier           530/tcp    rpc",
    "conference        531/tcp    chat",
    "netnews           532/tcp    readnews",
    "netwall           533/udp                           #For emergency broadcasts",
    "uucp              540/tcp    uucpd",
    "klogin            543/tcp                           #Kerberos login",
    "kshell            544/tcp    krcmd                  #Kerberos remote shell",
    "new-rwho          550/udp    new-who",
    "remotefs          556/tcp    rfs rfs_server",
    "rmonitor          560/udp    rmonitord",
    "monitor           561/udp",
    "ldaps             636/tcp    sldap                  #LDAP over TLS/SSL",
    "kerberos-adm      749/tcp                           #Kerberos administration",
    "kerberos-adm      749/udp                           #Kerberos administration",
    "kerberos-iv       750/udp                           #Kerberos version IV",
    "kpop             1109/tcp                           #Kerberos POP",
    "phone            1167/udp                           #Conference calling",
    "ingreslock       1524/tcp    ingres",
    "l2tp             1701/udp                           #Layer Two Tunneling Protocol",
    "pptp             1723/tcp                           #Point-to-point tunnelling protocol",
    "radius           1812/udp                           #RADIUS authentication protocol",
    "radacct          1813/udp                           #RADIUS accounting protocol",
    "nfsd             2049/udp    nfs                    #NFS server",
    "knetd            2053/tcp                           #Kerberos de-multiplexor",
    "man              9535/tcp                           #Remote Man Server",
};

const char* const kPlatformIni[] = {
    "; The emulated Windows workstation of clientZEPO.",
    "[System]",
    "; 1 = Windows 9x family, 2 = Windows NT family",
    "Platform=2",
    "Version=5.1",
    "WindowsDirectory=C:\\WINDOWS",
    "ProgramDirectory=C:\\clientZEPO",
    "[Labels]",
    "d=DATI",
};

template <std::size_t N>
std::string crlfText(const char* const (&lines)[N]) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool isDrivePath(const std::string& s) {
  return s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':' &&
         (s.size() == 2 || s[2] == '\\');
}

bool isUncPath(const std::string& s) {
  return s.size() > 2 && s[0] == '\\' && s[1] == '\\' && s[2] != '\\';
}

// A folder as Windows reports it: no closing backslash except for a root.
std::string withoutClosingBackslash(std::string s) {
  while (s.size() > 3 && s.back() == '\\') s.pop_back();
  if (s.size() == 2 && s[1] == ':') s += '\\';
  return s;
}

bool isNewPrefix(const fs::path& dir) {
  std::error_code ec;
  if (!fs::exists(dir, ec)) return true;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename() != "platform.ini") return false;
  }
  return true;
}

}  // namespace

LinuxPrefix::LinuxPrefix(const std::string& dir)
    : dir_(fs::absolute(dir).lexically_normal().string()), paths_(dir_ + "/dosdevices", "") {
  while (dir_.size() > 1 && dir_.back() == '/') dir_.pop_back();
  bool fresh = isNewPrefix(dir_);
  std::string ini = file("platform.ini");
  if (fs::exists(ini)) readSettings(ini);
  paths_.setCurrentFolder(programDirectory_);
  if (fresh) layOut();
}

void LinuxPrefix::exportToChildren() const {
  setenv("ZEPO_PREFIX", dir_.c_str(), 1);
}

std::string LinuxPrefix::label(char letter) const {
  auto it = labels_.find(static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
  return it == labels_.end() ? "" : it->second;
}

std::string LinuxPrefix::hostsFolder() const {
  std::string windows = withoutClosingBackslash(windowsDirectory_);
  if (windows.back() == '\\') windows.pop_back();
  return platform_ == 2 ? windows + "\\system32\\drivers\\etc" : windows;
}

std::string LinuxPrefix::desktopFolder() const {
  std::string windows = windowsDirectory_;
  if (windows.back() == '\\') windows.pop_back();
  if (platform_ != 2) return windows + "\\Desktop";
  if (std::lrint(version_) == 5) {
    return windowsDirectory_.substr(0, 2) + "\\Documents and Settings\\All Users\\Desktop";
  }
  return windows + "\\Profiles\\All Users\\Desktop";
}

void LinuxPrefix::readSettings(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string text = buffer.str();
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);

  std::string section;
  bool seen[4] = {};
  std::map<char, bool> labelSeen;
  int number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    std::string raw = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos =
        end == std::string::npos
            ? text.size()
            : end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    ++number;
    auto fail = [&](const std::string& why) {
      throw std::runtime_error(path + ":" + std::to_string(number) + ": " + why);
    };
    std::string line = trim(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      std::size_t close = line.find(']');
      if (close == std::string::npos) fail("a section name without its closing ']'");
      std::string rest = trim(line.substr(close + 1));
      if (!rest.empty() && rest[0] != ';') fail("text after the section name");
      section = upperName(trim(line.substr(1, close - 1)));
      continue;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) fail("neither [section], key=value nor a ';' comment: " + line);
    std::string key = trim(line.substr(0, eq));
    std::string value = line.substr(eq + 1);
    // A comment after a value begins with a blank and a ';'.
    for (std::size_t i = 0; i < value.size(); ++i) {
      if (value[i] == ';' && i > 0 && (value[i - 1] == ' ' || value[i - 1] == '\t')) {
        value.erase(i);
        break;
      }
    }
    value = trim(value);
    if (key.empty()) fail("a value without a key name");
    if (section.empty()) fail("key " + key + " before any [section]");
    std::string upper = upperName(key);
    if (section == "SYSTEM") {
      static const char* const kKeys[] = {"PLATFORM", "VERSION", "WINDOWSDIRECTORY",
                                          "PROGRAMDIRECTORY"};
      int which = -1;
      for (int i = 0; i < 4; ++i) {
        if (upper == kKeys[i]) which = i;
      }
      if (which < 0) fail("unknown key " + key + " in [System]");
      if (seen[which]) continue;  // the first one counts, as in any INI file
      seen[which] = true;
      if (which == 0) {
        int n = 0;
        auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec != std::errc() || ptr != value.data() + value.size() || n < 0) {
          fail("Platform is not a whole number: \"" + value + "\"");
        }
        platform_ = n;
      } else if (which == 1) {
        std::size_t digits = value.find_first_not_of("0123456789");
        bool ok = !value.empty() && digits != 0;
        if (ok && digits != std::string::npos) {
          ok = value[digits] == '.' && digits + 1 < value.size() &&
               value.find_first_not_of("0123456789", digits + 1) == std::string::npos;
        }
        if (!ok) fail("Version is not a number such as 5.1: \"" + value + "\"");
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), version_);
        if (ec != std::errc()) fail("Version is out of range: \"" + value + "\"");
      } else if (which == 2) {
        if (!isDrivePath(value) || hasForbiddenCharacter(value.substr(2), false)) {
          fail("WindowsDirectory is not a folder on a drive such as C:\\WINDOWS: \"" + value +
               "\"");
        }
        windowsDirectory_ = withoutClosingBackslash(value);
      } else {
        if (!(isDrivePath(value) || isUncPath(value)) ||
            hasForbiddenCharacter(value.substr(2), false)) {
          fail("ProgramDirectory is not a full folder path such as C:\\clientZEPO: \"" + value +
               "\"");
        }
        programDirectory_ = withoutClosingBackslash(value);
      }
    } else if (section == "LABELS") {
      bool letter = std::isalpha(static_cast<unsigned char>(key[0])) &&
                    (key.size() == 1 || (key.size() == 2 && key[1] == ':'));
      if (!letter) fail("a label's key is not a drive letter: " + key);
      char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
      if (labelSeen[drive]) continue;
      labelSeen[drive] = true;
      labels_[drive] = value;
    }
    // Other sections belong to others and are left alone.
  }
}

std::string LinuxPrefix::makeFolders(const std::string& windowsPath) {
  WindowsPath path = parseWindowsPath(windowsPath, "", false);
  std::string folder;
  if (!path.unc) {
    std::string drive = std::string(1, path.drive) + ":";
    std::optional<std::string> real = paths_.findName(paths_.dosdevices(), drive);
    if (!real) {
      std::string target = "drive_" + std::string(1, path.drive);
      fs::create_directories(file(target));
      fs::create_directories(paths_.dosdevices());
      fs::create_directory_symlink("../" + target, paths_.dosdevices() + "/" + drive);
      real = drive;
    }
    folder = paths_.dosdevices() + "/" + *real;
  } else {
    folder = paths_.dosdevices() + "/unc";
    for (const std::string& name : {path.server, path.share}) {
      std::optional<std::string> real = paths_.findName(folder, name);
      folder += "/" + real.value_or(name);
      fs::create_directories(folder);
    }
  }
  for (const std::string& component : path.components) {
    std::optional<std::string> real = paths_.findName(folder, component);
    folder += "/" + real.value_or(component);
    if (!real) fs::create_directory(folder);
  }
  return folder;
}

void LinuxPrefix::writeText(const std::string& windowsPath, const std::string& text) {
  std::size_t cut = windowsPath.rfind('\\');
  std::string folder = makeFolders(windowsPath.substr(0, cut));
  std::ofstream out(folder + "/" + windowsPath.substr(cut + 1), std::ios::binary);
  out << text;
  if (!out.flush()) throw std::runtime_error(dir_ + ": cannot write " + windowsPath);
}

void LinuxPrefix::layOut() {
  fs::create_directories(dir_);
  std::string ini = file("platform.ini");
  if (!fs::exists(ini)) {
    std::ofstream out(ini, std::ios::binary);
    out << crlfText(kPlatformIni);
    if (!out.flush()) throw std::runtime_error(ini + ": cannot be written");
  }
  fs::create_directories(file("dosdevices/unc"));
  makeFolders("C:\\");

  std::string windows = windowsDirectory_;
  if (windows.back() == '\\') windows.pop_back();
  makeFolders(windowsDirectory_);
  writeText(windows + "\\system.ini",
            platform_ == 2 ? crlfText(kSystemIniNt) : crlfText(kSystemIni9x));
  std::string etc = hostsFolder();
  writeText(etc + "\\hosts", crlfText(kHosts));
  writeText(etc + "\\hosts.sam", crlfText(kHosts));
  writeText(etc + "\\services", crlfText(kServices));
  makeFolders(desktopFolder());
  makeFolders(programDirectory_);

  std::ofstream registry(file("registry.reg"), std::ios::binary);
  registry << "REGEDIT4\r\n";
  std::ofstream fonts(file("fonts.txt"), std::ios::binary);
  if (!registry.flush() || !fonts.flush()) throw std::runtime_error(dir_ + ": cannot be written");
}

}  // namespace zepo
