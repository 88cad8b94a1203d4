// The default workstation that a new prefix gets: drive C: with the
// Windows folder and its files as a fresh Windows machine has them, the
// desktop and program folders, an empty registry.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/errors.h"
#include "platform/linux_prefix.h"

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
    "; the volume label of a drive, shown by the drive list: d=DATI for \"d: [DATI]\"",
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

}  // namespace

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

void LinuxPrefix::makeProgramDirectory() {
  if (programDirectoryMade_) return;
  programDirectoryMade_ = true;
  WindowsPath path;
  try {
    path = parseWindowsPath(programDirectory_, "", false);
  } catch (const RuntimeError&) {
    return;
  }
  // Only folders: a drive or a share that is not there stays missing, and
  // so does the folder then.
  std::optional<std::string> root;
  if (!path.unc) {
    root = paths_.findName(paths_.dosdevices(), std::string(1, path.drive) + ":");
    if (root) root = paths_.dosdevices() + "/" + *root;
  } else {
    std::string unc = paths_.dosdevices() + "/unc";
    std::optional<std::string> server = paths_.findName(unc, path.server);
    std::optional<std::string> share =
        server ? paths_.findName(unc + "/" + *server, path.share) : std::nullopt;
    if (share) root = unc + "/" + *server + "/" + *share;
  }
  if (!root) return;
  std::string folder = *root;
  for (const std::string& component : path.components) {
    std::optional<std::string> real = paths_.findName(folder, component);
    if (!real) {
      std::error_code error;
      if (!fs::create_directory(folder + "/" + component, error) || error) return;
      paths_.noteAdded(folder, component);
    }
    folder += "/" + real.value_or(component);
  }
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
