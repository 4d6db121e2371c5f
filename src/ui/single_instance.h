#pragma once
// One running Valmerin per data folder: a second start in the same folder brings
// the running window forward, or says that Valmerin is open there, and ends
// without touching any file.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace valmerin {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this is the only Valmerin of the current folder (the folder stays
  // ours until this object goes). False when another one runs there.
  bool Claim();
  // After a failed Claim: whether the running one was asked to come forward.
  bool AskOtherToComeForward();
  // What to do when a later start asks this one to come forward.
  void OnComeForward(std::function<void()> show);

  // After a failed Claim: why this start ends, and how to free the folder when the
  // lock was taken on another computer or something else stands at the lock's name.
  QString AlreadyOpenMessage() const;

 private:
  QString ServerName() const;
  void Serve();
  bool ClaimFolder();

  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
  std::function<void()> show_;
  int folderLock_ = -1;  // the data folder held open and locked (POSIX)
  QString blockedBy_;    // what stands at the lock's name instead of a file
};

}  // namespace valmerin
