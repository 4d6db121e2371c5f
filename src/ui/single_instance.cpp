#include "ui/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSysInfo>

#ifdef _WIN32
#include <windows.h>
#endif

namespace valmerin {

namespace {
const char kComeForward[] = "avanti\n";
// Hidden, so no folder listing of ours ever shows it.
const char kLockFile[] = ".valmerin.lock";
}  // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent), lock_(QDir::current().absoluteFilePath(QString::fromLatin1(kLockFile))) {
  // Only a lock whose process is gone is stale, however old it is.
  lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName() const {
#ifdef _WIN32
  // A named pipe, one per folder and user: letter case does not tell Windows
  // folders apart, and the user's name is in USERNAME.
  const QByteArray folder = QDir::current().canonicalPath().toLower().toUtf8();
  return QStringLiteral("valmerin-") +
         QString::fromLatin1(
             QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(20)) +
         QStringLiteral("-") + qEnvironmentVariable("USERNAME");
#else
  // One name per folder and user, short enough for a socket path.
  const QByteArray folder = QDir::current().canonicalPath().toUtf8();
  return QStringLiteral("valmerin-") +
         QString::fromLatin1(
             QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(20)) +
         QStringLiteral("-") + qEnvironmentVariable("USER");
#endif
}

bool SingleInstance::Claim() {
  if (!lock_.tryLock(0)) {
    // A folder we cannot write to cannot be clobbered either: go on unguarded.
    return lock_.error() != QLockFile::LockFailedError;
  }
#ifdef _WIN32
  // A leading dot hides nothing on Windows: the attribute does.
  const std::wstring lockPath =
      QDir::toNativeSeparators(QDir::current().absoluteFilePath(QString::fromLatin1(kLockFile)))
          .toStdWString();
  const DWORD attributes = GetFileAttributesW(lockPath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesW(lockPath.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
  }
#endif
  server_ = std::make_unique<QLocalServer>();
  QLocalServer::removeServer(ServerName());  // a socket left by a run that was killed
  if (server_->listen(ServerName())) {
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
      while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (show_) show_();
      }
    });
  }
  return true;
}

bool SingleInstance::AskOtherToComeForward() {
  QLocalSocket socket;
  socket.connectToServer(ServerName());
  if (!socket.waitForConnected(1000)) return false;
  socket.write(kComeForward);
#ifdef _WIN32
  // The running one comes forward on the connection itself; a pipe write
  // completes only once it reads, which it may not do before we give up.
  socket.waitForBytesWritten(1000);
  const bool sent = true;
#else
  const bool sent = socket.waitForBytesWritten(1000);
#endif
  socket.disconnectFromServer();
  return sent;
}

void SingleInstance::OnComeForward(std::function<void()> show) { show_ = std::move(show); }

QString SingleInstance::AlreadyOpenMessage() const {
  const QString folder = QDir::toNativeSeparators(QDir::current().absolutePath());
  // A lock taken on another computer (a shared or removable folder) can never be
  // seen to be stale from here: tell the user how to free the folder.
  qint64 pid = 0;
  QString host;
  QString program;
  if (lock_.getLockInfo(&pid, &host, &program) && !host.isEmpty() &&
      host != QSysInfo::machineHostName()) {
    return QStringLiteral(
               "Valmerin risulta aperto in questa cartella (%1) sul computer \"%2\". Se "
               "non \u00e8 pi\u00f9 aperto l\u00e0, eliminare il file \"%3\" "
               "di questa cartella e avviare di nuovo Valmerin.")
        .arg(folder, host, QString::fromLatin1(kLockFile));
  }
  return QStringLiteral(
             "Valmerin \u00e8 gi\u00e0 aperto in questa cartella (%1): due finestre sugli stessi "
             "file si cancellerebbero a vicenda le impostazioni. Usare la finestra gi\u00e0 "
             "aperta.")
      .arg(folder);
}

}  // namespace valmerin
