#include "ui/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSysInfo>
#include <QTimer>

#include "platform/private_folder.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32
#include <windows.h>
#endif

namespace valmerin {

namespace {
const char kComeForward[] = "avanti\n";
// Hidden, so no folder listing of ours ever shows it.
const char kLockFile[] = ".valmerin.lock";
// A later start says one short line and goes: a connection costs little, and
// only a few may be open at once.
constexpr int kMostConnections = 4;
constexpr int kConnectionMilliseconds = 2000;

#ifndef _WIN32
// What stands at the lock's name when it is not a file we could lock; empty when
// it is a file or nothing. Only looked at, never opened (a FIFO would hang).
QString WhatStandsAt(const char* name) {
  struct stat info {};
  if (lstat(name, &info) != 0 || S_ISREG(info.st_mode)) return {};
  if (S_ISDIR(info.st_mode)) return QStringLiteral("una cartella");
  if (S_ISLNK(info.st_mode)) return QStringLiteral("un collegamento");
  return QStringLiteral("un file speciale");
}
#endif
}  // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent), lock_(QDir::current().absoluteFilePath(QString::fromLatin1(kLockFile))) {
  // Only a lock whose process is gone is stale, however old it is.
  lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
  server_.reset();
#ifndef _WIN32
  if (folderLock_ >= 0) close(folderLock_);
#endif
}

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
  const QString name =
      QStringLiteral("valmerin-") +
      QString::fromLatin1(
          QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(20));
  // In a folder no other account can enter; without one there is no server.
  const std::optional<std::filesystem::path> runtime = PrivateRuntimeFolder();
  if (!runtime) return {};
  return QString::fromStdString((*runtime / name.toStdString()).string());
#endif
}

// On POSIX the data folder itself is locked for the run: the system drops the lock
// when the process ends however it ends, and it needs no file, so a full disk or a
// read-only folder still keeps a second window out. False when another Valmerin
// of this computer holds it.
bool SingleInstance::ClaimFolder() {
#ifndef _WIN32
  folderLock_ = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderLock_ < 0) return true;
  if (flock(folderLock_, LOCK_EX | LOCK_NB) == 0) return true;
  const bool held = errno == EWOULDBLOCK;
  close(folderLock_);
  folderLock_ = -1;
  return !held;
#else
  return true;
#endif
}

bool SingleInstance::Claim() {
#ifndef _WIN32
  blockedBy_ = WhatStandsAt(kLockFile);
  if (!blockedBy_.isEmpty()) return false;
#endif
  if (!ClaimFolder()) return false;
  qint64 pid = 0;
  QString host;
  QString program;
  const bool fromElsewhere = lock_.getLockInfo(&pid, &host, &program) && !host.isEmpty() &&
                             host != QSysInfo::machineHostName();
  // No other Valmerin of this computer runs here: a lock file of this computer is
  // left over, even an empty or damaged one (a power cut), and goes.
  if (folderLock_ >= 0 && !fromElsewhere) QFile::remove(QString::fromLatin1(kLockFile));
  // A folder we cannot write to (full, read-only) is still guarded by the folder
  // lock where there is one; elsewhere it goes on unguarded.
  if (!lock_.tryLock(0) && lock_.error() == QLockFile::LockFailedError &&
      (folderLock_ < 0 || fromElsewhere)) {
    return false;
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
  Serve();
  return true;
}

void SingleInstance::Serve() {
  const QString name = ServerName();
  if (name.isEmpty()) return;
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->setMaxPendingConnections(kMostConnections);
  QLocalServer::removeServer(name);  // a socket left by a run that was killed
  if (!server_->listen(name)) {
    server_.reset();
    return;
  }
  connect(server_.get(), &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      const int open = static_cast<int>(server_->findChildren<QLocalSocket*>().size());
      if (open > kMostConnections || !PeerIsSameUser(static_cast<int>(socket->socketDescriptor()))) {
        socket->abort();
        socket->deleteLater();
        continue;
      }
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
#ifdef _WIN32
      // A pipe write completes only once it is read: the connection itself is the
      // request, so a later start never waits on us; its line then changes nothing.
      if (show_) show_();
      constexpr bool kShowOnLine = false;
#else
      constexpr bool kShowOnLine = true;
#endif
      connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        if (!socket->readAll().contains('\n')) return;
        socket->disconnectFromServer();
        if (kShowOnLine && show_) show_();
      });
      QTimer::singleShot(kConnectionMilliseconds, socket, [socket] { socket->abort(); });
    }
  });
}

bool SingleInstance::AskOtherToComeForward() {
  const QString name = ServerName();
  if (name.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(1000)) return false;
  // Only our own Valmerin hears where this user works.
  if (!PeerIsSameUser(static_cast<int>(socket.socketDescriptor()))) return false;
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
  if (!blockedBy_.isEmpty()) {
    return QStringLiteral(
               "Valmerin non pu\u00f2 aprire questa cartella (%1): al posto del suo file "
               "\"%2\" c'\u00e8 %3. Eliminarlo (non \u00e8 un file dell'utente) e avviare "
               "di nuovo Valmerin.")
        .arg(folder, QString::fromLatin1(kLockFile), blockedBy_);
  }
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
