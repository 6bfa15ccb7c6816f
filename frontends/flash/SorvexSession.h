#pragma once
// One client's session: the greeting, then one command after another until
// "Quit" (or the connection's end). The session writes the user's choices and
// answers on its own connection; what must happen on Sorvex's main thread
// (the folder dialog, the client's error box, the installation) goes through
// the host.
#include <mutex>
#include <optional>
#include <string>

#include "SorvexProtocol.h"

namespace tq {

// The connection the session reads from and answers on.
class TSessionConnection {
 public:
  virtual ~TSessionConnection() = default;
  // The next whole message without its NUL; "" once the peer has closed.
  // Raises ETidewireException (or another Exception) on a socket failure or
  // an oversized message.
  virtual std::string ReadMessage() = 0;
  // Sends the text and its NUL as one message.
  virtual void SendMessage(const std::string& text) = 0;
  virtual void Disconnect() = 0;
};

// What the session needs of Sorvex's main window.
class TSessionHost {
 public:
  virtual ~TSessionHost() = default;
  // On the main thread: shows the client's error text and ends the program.
  virtual void ShowClientError(const std::string& text) = 0;
  // On the main thread: the folder dialog; the chosen file name, or nothing.
  virtual std::optional<std::string> ShowFolderDialog() = 0;
  // Asks the main thread to run the installation.
  virtual void PostInstall() = 0;
  // The user's (CSIDL 2) or the common (CSIDL 23) Programs folder; empty
  // when it does not resolve.
  virtual std::string GroupsFolder(bool currentUser) = 0;
};

class TSorvexSession {
 public:
  // choices: the main window's fields, written under `lock`; nodes: the
  // feature tree (read only); featuresXml: the prepared features reply.
  TSorvexSession(TSessionConnection& connection, TSessionHost& host, TUserChoices& choices, std::mutex& lock,
                 const TTreeNodes& nodes, const std::string& featuresXml)
      : FConnection(connection), FHost(host), FChoices(choices), FLock(lock), FNodes(nodes),
        FFeaturesXml(featuresXml) {}

  // Handles one message; false for "Quit".
  bool Handle(const std::string& message);
  // The greeting, then messages until "Quit". Socket failures propagate.
  void Run(const std::string& greeting);

 private:
  void Reply(const std::string& text) { FConnection.SendMessage(text); }
  TSessionConnection& FConnection;
  TSessionHost& FHost;
  TUserChoices& FChoices;
  std::mutex& FLock;
  const TTreeNodes& FNodes;
  const std::string& FFeaturesXml;
};

}  // namespace tq
