// The listener library against real Windows Sockets clients on 127.0.0.1, on
// ports the system picks.
#include <windows.h>
#include <winsock.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Forms.h"
#include "TidewireExceptions.h"
#include "TidewireListener.h"

namespace tq {
namespace {

using namespace std::string_literals;

// A blocking client socket.
class TClient {
 public:
  explicit TClient(int port) {
    TWinsockIntf11::Get();
    FSocket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<u_short>(port));
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    FConnected = connect(FSocket, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    if (!FConnected) FError = WSAGetLastError();
  }
  ~TClient() { Close(); }
  bool Connected() const { return FConnected; }
  int Error() const { return FError; }
  void Send(const std::string& s) {
    size_t at = 0;
    while (at < s.size()) {
      int n = send(FSocket, s.data() + at, static_cast<int>(s.size() - at), 0);
      ASSERT_GT(n, 0);
      at += static_cast<size_t>(n);
    }
  }
  // Reads until count bytes have come or the server closed.
  std::string Receive(size_t count) {
    std::string got;
    char buf[65536];
    while (got.size() < count) {
      int n = recv(FSocket, buf, static_cast<int>(std::min(sizeof buf, count - got.size())), 0);
      if (n <= 0) break;
      got.append(buf, static_cast<size_t>(n));
    }
    return got;
  }
  void Close() {
    if (FSocket != INVALID_SOCKET) closesocket(FSocket);
    FSocket = INVALID_SOCKET;
  }

 private:
  SOCKET FSocket = INVALID_SOCKET;
  bool FConnected = false;
  int FError = 0;
};

// A listener on 127.0.0.1 whose accepted connections queue up for the test.
class ListenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Listener.BoundIP = "127.0.0.1";
    Listener.Port = 0;
    Listener.OnConnect = [this](TTidewireServerThread* t) {
      std::lock_guard<std::mutex> lock(FLock);
      FConnections.push_back(t->Connection());
      FChanged.notify_all();
    };
    Listener.OnDisconnect = [this](TTidewireServerThread*) {
      std::lock_guard<std::mutex> lock(FLock);
      ++FDisconnects;
      FChanged.notify_all();
    };
    Listener.OnLog = [this](const std::string& text) {
      std::lock_guard<std::mutex> lock(FLock);
      Logged.push_back(text);
    };
    Listener.SetActive(true);
    Port = Listener.ListeningPort();
    ASSERT_GT(Port, 0);
  }
  // The next connection the listener accepted.
  std::shared_ptr<TTidewireServer> NextConnection() {
    std::unique_lock<std::mutex> lock(FLock);
    FChanged.wait(lock, [this] { return !FConnections.empty(); });
    auto c = FConnections.front();
    FConnections.pop_front();
    return c;
  }
  void WaitForDisconnects(int count) {
    std::unique_lock<std::mutex> lock(FLock);
    FChanged.wait(lock, [&] { return FDisconnects >= count; });
  }
  std::vector<std::string> LogLines() {
    std::lock_guard<std::mutex> lock(FLock);
    return Logged;
  }

  // Declared before the listener: its threads use them until it is gone.
  std::mutex FLock;
  std::condition_variable FChanged;
  std::deque<std::shared_ptr<TTidewireServer>> FConnections;
  int FDisconnects = 0;
  std::vector<std::string> Logged;
  TTidewireListener Listener{nullptr};
  int Port = 0;

};

TEST(TidewireErrors, TextIsTheCodeAndItsTableText) {
  struct TCase {
    int Code;
    std::string Text;
  } cases[] = {
      {10004, "Socket Error #10004\r\nInterrupted system call."},
      {10035, "Socket Error #10035\r\nOperation would block. "},
      {10048, "Socket Error #10048\r\nAddress already in use."},
      {10054, "Socket Error #10054\r\nConnection reset by peer."},
      {10066, "Socket Error #10066\r\nDirectory not empty"},
      {11004, "Socket Error #11004\r\nValid name, no data record (check DNS setup)."},
      {12345, "Socket Error #12345\r\n"},
      {995, "Socket Error #995\r\n"},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(TWinsockIntf11::ErrorText(c.Code), c.Text) << c.Code;
    ETidewireSocketError e(c.Code);
    EXPECT_EQ(e.Message, c.Text);
    EXPECT_EQ(e.ErrorCode, c.Code);
  }
  ETidewireConnClosedGraceful graceful("gone");
  EXPECT_NE(dynamic_cast<ETidewireSilentException*>(&graceful), nullptr);
  EXPECT_NE(dynamic_cast<ETidewireException*>(&graceful), nullptr);
}

TEST(TidewireAccept, OnlyClosingTheListenerEndsAcceptingQuietly) {
  struct TCase {
    int Code;
    bool Closing;
    TAcceptFailure Expected;
  } cases[] = {
      {10004, true, TAcceptFailure::Closing},      {995, true, TAcceptFailure::Closing},
      {10038, true, TAcceptFailure::Closing},      {10054, false, TAcceptFailure::Transient},
      {10053, false, TAcceptFailure::Transient},   {10055, false, TAcceptFailure::Transient},
      {10024, false, TAcceptFailure::Transient},   {10004, false, TAcceptFailure::Transient},
      {10038, false, TAcceptFailure::Fatal},       {10022, false, TAcceptFailure::Fatal},
      {995, false, TAcceptFailure::Fatal},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ClassifyAcceptFailure(c.Code, c.Closing), c.Expected) << c.Code << " " << c.Closing;
}

TEST_F(ListenerTest, ActivationTwiceDoesNothingAndDeactivationIsQuiet) {
  Listener.SetActive(true);  // already active: same socket, same port
  EXPECT_EQ(Listener.ListeningPort(), Port);
  {
    TClient client(Port);
    ASSERT_TRUE(client.Connected());
    auto c = NextConnection();
    EXPECT_EQ(c->PeerIP, "127.0.0.1");
    EXPECT_GT(c->PeerPort, 0);
    EXPECT_EQ(c->Listener(), &Listener);
  }
  EXPECT_NO_THROW(Listener.SetActive(false));
  EXPECT_FALSE(Listener.Active());
  EXPECT_FALSE(Listener.Connected());
  EXPECT_NO_THROW(Listener.SetActive(false));
  TClient refused(Port);
  EXPECT_FALSE(refused.Connected());
  EXPECT_EQ(refused.Error(), 10061);
  EXPECT_TRUE(LogLines().empty()) << LogLines().front();  // the accept thread ended quietly
  // And it comes back on the same port.
  Listener.Port = Port;
  Listener.SetActive(true);
  TClient again(Port);
  EXPECT_TRUE(again.Connected());
  NextConnection();
}

TEST_F(ListenerTest, ABusyPortRaisesTheAddressInUseText) {
  TTidewireListener second(nullptr);
  second.BoundIP = "127.0.0.1";
  second.Port = Port;
  try {
    second.SetActive(true);
    FAIL() << "bound a busy port";
  } catch (const ETidewireException& e) {
    EXPECT_EQ(e.Message, AddressInUseText);
  }
  EXPECT_FALSE(second.Active());
  TClient client(Port);  // the first one still serves
  EXPECT_TRUE(client.Connected());
  NextConnection();
}

TEST_F(ListenerTest, SessionTimeoutBelowZeroIsRefused) {
  try {
    Listener.SetSessionTimeout(-1);
    FAIL();
  } catch (const ETidewireException& e) {
    EXPECT_EQ(e.Message, "Invliad SessionTimeout value.");
  }
  Listener.SetSessionTimeout(0);
  EXPECT_EQ(Listener.SessionTimeout(), 0);
}

TEST_F(ListenerTest, WriteAllSendsEveryByte) {
  TClient client(Port);
  auto c = NextConnection();
  for (size_t size : {size_t(20000), size_t(3) << 20}) {
    std::string text(size, '\0');
    for (size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i % 23);
    std::string got;
    std::thread reader([&] { got = client.Receive(size); });  // the client drains while we send
    c->WriteAll(text);
    reader.join();
    EXPECT_EQ(got.size(), size);
    EXPECT_TRUE(got == text) << size;
  }
  c->WriteAll("");  // sends nothing
}

TEST_F(ListenerTest, WritersOnOneConnectionNeverInterleave) {
  TClient client(Port);
  auto c = NextConnection();
  const size_t block = 200000;
  const int perWriter = 5;
  std::string got;
  std::thread reader([&] { got = client.Receive(2 * perWriter * block); });
  auto writer = [&](char letter) {
    for (int i = 0; i < perWriter; ++i) c->WriteAll(std::string(block, letter));
  };
  std::thread a(writer, 'A'), b(writer, 'B');
  a.join();
  b.join();
  reader.join();
  ASSERT_EQ(got.size(), 2 * perWriter * block);
  for (size_t at = 0; at < got.size(); at += block)
    EXPECT_TRUE(got.compare(at, block, std::string(block, got[at])) == 0) << "block at " << at << " is mixed";
}

TEST_F(ListenerTest, ThreeMessagesInOneReadComeAsOneStringOrOneByOne) {
  TClient client(Port);
  auto c = NextConnection();
  const std::string three = "Directory::C:\\App\0Group::Tools\0Quit::\0"s;
  client.Send(three);
  ASSERT_TRUE(c->Readable(5000));
  EXPECT_EQ(c->ReadAvailable(), three);

  client.Send(three);
  ASSERT_TRUE(c->Readable(5000));
  EXPECT_EQ(c->ReadMessage(), "Directory::C:\\App\0"s);
  EXPECT_EQ(c->ReadMessage(), "Group::Tools\0"s);
  EXPECT_EQ(c->ReadMessage(), "Quit::\0"s);
  EXPECT_EQ(c->BufferedBytes(), 0);
}

TEST_F(ListenerTest, ASplitMessageIsBufferedUntilItsNul) {
  TClient client(Port);
  auto c = NextConnection();
  std::string first;
  std::thread reader([&] { first = c->ReadMessage(); });
  client.Send("Directory::C:\\Pro");
  client.Send("gram Files\\App");
  client.Send("\0Quit::"s);
  reader.join();
  EXPECT_EQ(first, "Directory::C:\\Program Files\\App\0"s);
  client.Send("\0"s);
  EXPECT_EQ(c->ReadMessage(), "Quit::\0"s);
}

TEST_F(ListenerTest, AMessageOverTheLimitEndsTheConnection) {
  struct TCase {
    int Limit;
    size_t Size;  // bytes before the NUL
    bool Refused;
  } cases[] = {
      {100, 100, false},
      {100, 101, true},
      {TTidewireSocket::DefaultMaxMessageSize, size_t(1) << 20, false},
      {TTidewireSocket::DefaultMaxMessageSize, (size_t(1) << 20) + 1, true},
  };
  for (const TCase& k : cases) {
    TClient client(Port);
    auto c = NextConnection();
    c->MaxMessageSize = k.Limit;
    std::string message(k.Size, 'x');
    std::thread sender([&] { client.Send(message + '\0' + "Quit::" + '\0'); });
    if (k.Refused) {
      EXPECT_THROW(c->ReadMessage(), ETidewireMessageTooLong) << k.Size;
      EXPECT_FALSE(c->Connected());
      EXPECT_EQ(c->BufferedBytes(), 0);
      EXPECT_EQ(c->ReadMessage(), "");
    } else {
      EXPECT_EQ(c->ReadMessage(), message + '\0') << k.Size;
      EXPECT_EQ(c->ReadMessage(), "Quit::\0"s);
    }
    sender.join();
  }
}

TEST_F(ListenerTest, TheFirstReadGetsAChunkLessOneThenTheBufferFollowsTheRules) {
  TClient client(Port);
  auto c = NextConnection();
  client.Send(std::string(10000, 'r'));
  ASSERT_TRUE(c->Readable(5000));
  EXPECT_EQ(c->ReadAvailable().size(), 8191u);
  EXPECT_EQ(c->BufferLength(), 8192);
  EXPECT_EQ(c->ReadAvailable().size(), 1809u);

  // A long message grows the buffer chunk by chunk; once it has been taken,
  // each read gives one chunk back while more than two are free.
  client.Send(std::string(40000, 'm') + '\0');
  EXPECT_EQ(c->ReadMessage().size(), 40001u);
  int grown = c->BufferLength();
  EXPECT_GE(grown, 40001 + 1);
  EXPECT_EQ(grown % TTidewireSocket::BufferChunk, 0);
  client.Send("a\0"s);
  EXPECT_EQ(c->ReadMessage(), "a\0"s);
  EXPECT_EQ(c->BufferLength(), grown - TTidewireSocket::BufferChunk);
}

TEST_F(ListenerTest, AReadAfterThePeerClosedIsEmptyAndWritesAreRefused) {
  TClient client(Port);
  auto c = NextConnection();
  client.Close();
  EXPECT_EQ(c->ReadAvailable(), "");
  EXPECT_FALSE(c->Connected());
  EXPECT_TRUE(c->ClosedGracefully());
  EXPECT_EQ(c->ReadAvailable(), "");  // and again, without a socket
  try {
    c->WriteAll("<Finished/>\0"s);
    FAIL() << "wrote to a closed connection";
  } catch (const ETidewireClosedSocket& e) {
    EXPECT_EQ(e.Message, ClosedSocketText);
  }
  std::string why;
  EXPECT_FALSE(c->TryWriteAll("<InstallProgress>50</InstallProgress>\0"s, &why));
  EXPECT_EQ(why, ClosedSocketText);
  WaitForDisconnects(1);
}

TEST_F(ListenerTest, BufferedMessagesComeBeforeTheCloseAndAnUnendedTailIsDropped) {
  TClient client(Port);
  auto c = NextConnection();
  client.Send("Type::Typical\0Directory::C:\\Ha"s);
  client.Close();
  EXPECT_EQ(c->ReadMessage(), "Type::Typical\0"s);
  EXPECT_EQ(c->ReadMessage(), "");
  EXPECT_FALSE(c->Connected());
}

TEST_F(ListenerTest, DisconnectWakesAReaderOnAnotherThread) {
  TClient client(Port);
  auto c = NextConnection();
  std::string got = "unset";
  std::thread reader([&] { got = c->ReadMessage(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let it block (either order ends the same)
  c->Disconnect();
  reader.join();
  EXPECT_EQ(got, "");
  EXPECT_EQ(client.Receive(1), "");  // the client sees the close
}

TEST_F(ListenerTest, TwoClientsEachHaveTheirOwnConnection) {
  TClient one(Port);
  auto first = NextConnection();
  TClient two(Port);
  auto second = NextConnection();
  EXPECT_EQ(Listener.ThreadCount(), 2);
  one.Send("Info::One::A::1\0"s);
  two.Send("Info::Two::B::2\0"s);
  EXPECT_EQ(first->ReadMessage(), "Info::One::A::1\0"s);
  EXPECT_EQ(second->ReadMessage(), "Info::Two::B::2\0"s);
  first->WriteAll("<Quit/>\0"s);
  second->WriteAll("<Settings></Settings>\0"s);
  EXPECT_EQ(one.Receive(8), "<Quit/>\0"s);
  EXPECT_EQ(two.Receive(22), "<Settings></Settings>\0"s);
  one.Close();
  EXPECT_EQ(first->ReadMessage(), "");
  WaitForDisconnects(1);
  // The first one's thread is gone; its connection object lives on with us.
  EXPECT_FALSE(first->TryWriteAll("late\0"s));
  second->WriteAll("still here\0"s);
  EXPECT_EQ(two.Receive(11), "still here\0"s);
}

// Connections whose own threads serve them (OnExecute), stopped by destroying
// the listener while their clients are still connected.
TEST(TidewireListener, DestroyingTheListenerStopsItsConnections) {
  std::vector<std::shared_ptr<TTidewireServer>> kept;
  std::mutex lock;
  std::unique_ptr<TClient> a, b;  // connected until after the listener is gone
  {
    TTidewireListener listener(nullptr);
    listener.BoundIP = "127.0.0.1";
    listener.OnConnect = [&](TTidewireServerThread* t) {
      std::lock_guard<std::mutex> g(lock);
      kept.push_back(t->Connection());
    };
    listener.OnExecute = [](TTidewireServerThread* t) {
      std::string m = t->Server()->ReadMessage();
      if (!m.empty()) t->Server()->WriteAll("echo:" + m);
    };
    listener.SetActive(true);
    a = std::make_unique<TClient>(listener.ListeningPort());
    b = std::make_unique<TClient>(listener.ListeningPort());
    a->Send("ping\0"s);
    b->Send("pong\0"s);
    EXPECT_EQ(a->Receive(10), "echo:ping\0"s);
    EXPECT_EQ(b->Receive(10), "echo:pong\0"s);
    EXPECT_EQ(listener.ThreadCount(), 2);
  }
  ASSERT_EQ(kept.size(), 2u);
  for (auto& c : kept) {
    EXPECT_FALSE(c->Connected());
    EXPECT_EQ(c->Listener(), nullptr);
  }
  EXPECT_EQ(a->Receive(1), "");  // the clients see the close
  EXPECT_EQ(b->Receive(1), "");
}

class TListenerForm : public TForm {
 public:
  explicit TListenerForm(TComponent* owner) : TForm(owner) {
    RegisterHandler("ListenerConnect", this, &TListenerForm::ListenerConnect);
    RegisterField("Listener1", Listener1);
  }
  void ListenerConnect(TTidewireServerThread* t) {
    std::lock_guard<std::mutex> g(Lock);
    Connections.push_back(t->Connection());
    Changed.notify_all();
  }
  TTidewireListener* Listener1 = nullptr;
  std::mutex Lock;
  std::condition_variable Changed;
  std::vector<std::shared_ptr<TTidewireServer>> Connections;
};

TEST(TidewireListener, ALayoutThatStoresActiveActivatesOnceLoaded) {
  RegisterTidewireClasses();
  TListenerForm form(nullptr);
  form.LoadLayoutText(
      "object F: TListenerForm\n"
      "  object Listener1: TTidewireListener\n"
      "    Active = True\n    Port = 0\n    BoundIP = '127.0.0.1'\n    SessionTimeout = 0\n"
      "    OnConnect = ListenerConnect\n"
      "  end\n"
      "end\n");
  ASSERT_NE(form.Listener1, nullptr);
  ASSERT_TRUE(form.Listener1->Active());
  TClient client(form.Listener1->ListeningPort());
  ASSERT_TRUE(client.Connected());
  std::unique_lock<std::mutex> g(form.Lock);
  form.Changed.wait(g, [&] { return !form.Connections.empty(); });
  EXPECT_EQ(form.Connections[0]->BoundIP, "127.0.0.1");
}

}  // namespace
}  // namespace tq
