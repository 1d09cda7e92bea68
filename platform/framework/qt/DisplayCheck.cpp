#include "platform/framework/qt/DisplayCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QByteArrayList>
#include <QDir>
#include <QLibraryInfo>
#include <QStringList>

#include <cstring>

namespace {

// The value following option (as "-option" or "--option") on the command
// line, or null.
QByteArray OptionValue(int argc, char** argv, const char* pszOption) {
  QByteArray value;
  for (int i = 1; i + 1 < argc; ++i) {
    const char* psz = argv[i];
    if (psz[0] == '-' && psz[1] == '-')
      ++psz;
    if (psz[0] == '-' && std::strcmp(psz + 1, pszOption) == 0)
      value = argv[i + 1];
  }
  return value;
}

// The platform plugins Qt is told to try, in order: -platform on the
// command line, else QT_QPA_PLATFORM ("wayland;xcb", options after a ':').
// Empty when Qt is to choose for itself.
QByteArrayList RequestedPlatforms(int argc, char** argv) {
  QByteArray requested = OptionValue(argc, argv, "platform");
  if (requested.isEmpty())
    requested = qgetenv("QT_QPA_PLATFORM");
  QByteArrayList names;
  for (const QByteArray& entry : requested.split(';')) {
    const qsizetype colon = entry.indexOf(':');
    if (!entry.isEmpty())
      names.append(colon < 0 ? entry : entry.left(colon));
  }
  return names;
}

// --- the two display servers, each by its own kind of connection ---------

// An X display opens as the xcb platform plugin opens it, authentication
// included.
bool CanOpenX11Display(const QByteArray& name) {
  xcb_connection_t* pConnection = xcb_connect(name.constData(), nullptr);
  const bool bOpen = xcb_connection_has_error(pConnection) == 0;
  xcb_disconnect(pConnection);
  return bOpen;
}

// A Wayland display is a socket, named relative to XDG_RUNTIME_DIR unless
// the name is absolute.
bool CanOpenWaylandDisplay(const QByteArray& name) {
  QByteArray path = name;
  if (!path.startsWith('/')) {
    const QByteArray dir = qgetenv("XDG_RUNTIME_DIR");
    if (dir.isEmpty())
      return false;
    path = dir + '/' + name;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
    return false;
  std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const bool bOpen =
      fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  if (fd >= 0)
    close(fd);
  return bOpen;
}

// --- the platform plugins ---------------------------------------------------

// The folders Qt loads platform plugins from: QT_QPA_PLATFORM_PLUGIN_PATH,
// then platforms/ under QT_PLUGIN_PATH's folders and Qt's own.
QStringList PlatformPluginFolders() {
  const auto paths = [](const char* pszVariable) {
    return qEnvironmentVariable(pszVariable).split(u':', Qt::SkipEmptyParts);
  };
  QStringList folders = paths("QT_QPA_PLATFORM_PLUGIN_PATH");
  QStringList roots = paths("QT_PLUGIN_PATH");
  roots.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
  for (const QString& root : roots)
    folders.append(root + QStringLiteral("/platforms"));
  return folders;
}

// The names of the installed platform plugins: libqxcb.so is "xcb",
// libqwayland-egl.so "wayland-egl".
QStringList InstalledPlatforms() {
  QStringList names;
  for (const QString& folder : PlatformPluginFolders()) {
    const QStringList files = QDir(folder).entryList({QStringLiteral("libq*.so")}, QDir::Files);
    for (const QString& file : files)
      names.append(file.mid(4, file.size() - 7));
  }
  names.removeDuplicates();
  names.sort();
  return names;
}

// Whether a plugin answers to platform: its own name, or a flavour of it
// ("wayland" is served by wayland-egl and wayland-generic).
bool IsInstalled(const QByteArray& platform, const QStringList& installed) {
  const QString name = QString::fromLocal8Bit(platform);
  for (const QString& plugin : installed) {
    if (plugin == name || plugin.startsWith(name + u'-'))
      return true;
  }
  return false;
}

// What to say of a platform that has no plugin.
QString NoPlugin(const QByteArray& platform, const QStringList& installed) {
  if (platform.startsWith("wayland"))
    return QStringLiteral(
        "The display is a Wayland one, and Qt's Wayland support is not installed: "
        "install the package qt6-wayland.");
  return QStringLiteral(
             "Qt has no platform plugin \"%1\" to show windows with; "
             "the installed ones are %2.")
      .arg(QString::fromLocal8Bit(platform), installed.join(u", "));
}

// ---------------------------------------------------------------------------

QString Quoted(const QByteArray& name) {
  return QStringLiteral("\"%1\"").arg(QString::fromLocal8Bit(name));
}

const char* const kNoDisplay =
    "There is no display to show windows on: neither DISPLAY nor WAYLAND_DISPLAY is set.";

}  // namespace

QString WhyNoDisplay(int argc, char** argv) {
  // A Wayland client takes a socket handed down to it without a name.
  if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
    return {};
  QByteArray x11 = OptionValue(argc, argv, "display");
  if (x11.isEmpty())
    x11 = qgetenv("DISPLAY");
  const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
  // Without a name a Wayland client looks for the first display, wayland-0.
  const bool bWaylandSession = qgetenv("XDG_SESSION_TYPE") == "wayland";

  QByteArrayList platforms = RequestedPlatforms(argc, argv);
  if (platforms.isEmpty()) {
    // Qt's own choice: Wayland first where one is named, then X.
    if (!wayland.isEmpty() || bWaylandSession)
      platforms.append("wayland");
    if (!x11.isEmpty())
      platforms.append("xcb");
    if (platforms.isEmpty())
      return QString::fromLatin1(kNoDisplay);
  }

  const QStringList installed = InstalledPlatforms();
  QStringList unreachable;
  QString missing;
  for (const QByteArray& platform : platforms) {
    if (!IsInstalled(platform, installed)) {
      if (missing.isEmpty())
        missing = NoPlugin(platform, installed);
      continue;
    }
    if (platform == "xcb") {
      if (x11.isEmpty())
        continue;
      if (CanOpenX11Display(x11))
        return {};
      unreachable.append(Quoted(x11));
    } else if (platform.startsWith("wayland")) {
      const QByteArray name = wayland.isEmpty() ? QByteArray("wayland-0") : wayland;
      if (CanOpenWaylandDisplay(name))
        return {};
      unreachable.append(Quoted(name));
    } else {
      return {};  // offscreen, vnc, eglfs...: no display server to reach
    }
  }
  if (!missing.isEmpty())
    return missing;
  if (unreachable.isEmpty())
    return QString::fromLatin1(kNoDisplay);
  return QStringLiteral("Cannot open display %1.").arg(unreachable.join(u" or "));
}
