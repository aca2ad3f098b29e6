// SPDX-License-Identifier: GPL-2.0-or-later
#include "instance/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A later start tries again this often while the lock's holder does not
// listen, and after this pause when it refused.
constexpr milliseconds kRetryPause{10};
constexpr milliseconds kRefusedPause{100};
// Connections waiting in the system's queue before they are accepted; more
// are told to wait by the system (the sender's connect tries again).
constexpr int kBacklog = 64;
// Accepted in one turn of the event loop, so that the window stays responsive.
constexpr int kAcceptsPerTurn = 64;

// A folder of this user's that no one else may enter or list.
bool IsPrivateFolder(const QByteArray& path) {
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

int Milliseconds(milliseconds time) {
    return static_cast<int>(std::max<milliseconds::rep>(time.count(), 0));
}

} // namespace

std::optional<InstancePlace> FindInstancePlace() {
    QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
    if (!folder.startsWith('/') || !IsPrivateFolder(folder)) {
        folder = QFile::encodeName(QDir::tempPath()) + "/kelimbo-" + QByteArray::number(::getuid());
        ::mkdir(folder.constData(), S_IRWXU); // fails harmlessly when it is there
        if (!IsPrivateFolder(folder)) {
            return std::nullopt;
        }
    }
    const QString base = QFile::decodeName(folder);
    return InstancePlace{base + QStringLiteral("/kelimbo.lock"),
                         base + QStringLiteral("/kelimbo.socket")};
}

SendResult SendRequest(const QString& socket, const InstanceRequest& request,
                       milliseconds timeout) {
    QLocalSocket connection;
    connection.connectToServer(socket);
    if (!connection.waitForConnected(Milliseconds(timeout))) {
        const QLocalSocket::LocalSocketError error = connection.error();
        return error == QLocalSocket::ServerNotFoundError ||
                       error == QLocalSocket::ConnectionRefusedError
                   ? SendResult::NoListener
                   : SendResult::NoAnswer;
    }
    const std::string message = EncodeRequest(request);
    connection.write(message.data(), static_cast<qint64>(message.size()));
    if (!connection.waitForBytesWritten(Milliseconds(timeout))) {
        return SendResult::NoAnswer;
    }
    const auto deadline = Clock::now() + timeout;
    while (connection.bytesAvailable() < 1) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !connection.waitForReadyRead(Milliseconds(left))) {
            return SendResult::NoAnswer;
        }
    }
    char answer = 0;
    connection.getChar(&answer);
    switch (DecodeAnswer(answer)) {
    case Answer::Accepted:
        return SendResult::Delivered;
    case Answer::Refused:
        return SendResult::Refused;
    case Answer::Unknown:
        break;
    }
    return SendResult::NoAnswer;
}

Election Elect(const InstancePlace& place, const InstanceRequest& request, milliseconds patience) {
    Election election;
    election.place = place;
    auto lock = std::make_unique<QLockFile>(place.lockFile);
    // Only a lock whose process is gone is stale, however old it is.
    lock->setStaleLockTime(0);

    std::optional<QCoreApplication> core;
    int coreArgc = 1;
    char coreName[] = "kelimbo";
    char* coreArgv[] = {coreName, nullptr};
    const auto deadline = Clock::now() + patience;
    bool refused = false;
    for (;;) {
        if (lock->tryLock(0)) {
            election.outcome = Election::Outcome::Primary;
            election.lock = std::move(lock);
            return election;
        }
        if (lock->error() != QLockFile::LockFailedError) {
            election.outcome = Election::Outcome::Alone;
            return election;
        }
        if (QCoreApplication::instance() == nullptr) {
            core.emplace(coreArgc, coreArgv);
        }
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        switch (SendRequest(place.socket, request, std::max(left, milliseconds{100}))) {
        case SendResult::Delivered:
            election.outcome = Election::Outcome::HandedOver;
            return election;
        case SendResult::NoAnswer:
            election.outcome = Election::Outcome::NoAnswer;
            return election;
        case SendResult::Refused:
            refused = true;
            break; // ending, or no window yet: asked again until the patience runs out
        case SendResult::NoListener:
            refused = false;
            break; // starting up, or just gone: the lock tells which
        }
        if (Clock::now() >= deadline) {
            election.outcome = refused ? Election::Outcome::Refused : Election::Outcome::NoAnswer;
            return election;
        }
        std::this_thread::sleep_for(refused ? kRefusedPause : kRetryPause);
    }
}

InstanceServer::InstanceServer(std::function<bool(const InstanceRequest&)> take)
    : m_take(std::move(take)) {
    m_resume.setSingleShot(true);
    QObject::connect(&m_resume, &QTimer::timeout, &m_owner, [this] {
        if (m_waiting != nullptr) {
            m_waiting->setEnabled(true);
        }
    });
}

InstanceServer::~InstanceServer() {
    delete m_waiting;
    if (m_listener >= 0) {
        ::close(m_listener);
        ::unlink(m_path.constData());
    }
}

// The toolkit's local server closes its socket for good on the first failed
// accept, as when the process has run out of files under a flood of
// connections; this one accepts by itself so that it never has to.
bool InstanceServer::Listen(const QString& socket) {
    const QByteArray path = QFile::encodeName(socket);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (m_listener >= 0 || path.isEmpty() ||
        static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        return false;
    }
    ::unlink(path.constData());
    // Only the user may connect; the folder already keeps everyone else out.
    if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(listener, kBacklog) != 0) {
        ::close(listener);
        return false;
    }
    m_listener = listener;
    m_path = path;
    m_waiting = new QSocketNotifier(static_cast<qintptr>(listener), QSocketNotifier::Read);
    QObject::connect(m_waiting, &QSocketNotifier::activated, &m_owner, [this] { AcceptWaiting(); });
    return true;
}

void InstanceServer::AcceptWaiting() {
    for (int i = 0; i < kAcceptsPerTurn; ++i) {
        const int descriptor =
            ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (descriptor >= 0) {
            if (m_open.size() >= kMaxOpenConnections) {
                Drop(m_open.front());
            }
            Serve(descriptor);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED) {
            continue; // that one is gone; the others still wait
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            // No file or memory left for a connection (EMFILE, ENFILE,
            // ENOBUFS, ENOMEM): the oldest one gives its file up, and the
            // rest wait in the system's queue for a moment.
            if (!m_open.empty()) {
                Drop(m_open.front());
            }
            m_waiting->setEnabled(false);
            m_resume.start(kAcceptPause);
        }
        return;
    }
}

void InstanceServer::Drop(QLocalSocket* connection) {
    const auto at = std::find(m_open.begin(), m_open.end(), connection);
    if (at == m_open.end()) {
        return; // already given up
    }
    m_open.erase(at);
    connection->disconnect();
    connection->abort();
    connection->deleteLater();
}

void InstanceServer::Serve(int descriptor) {
    auto* connection = new QLocalSocket(&m_owner);
    if (!connection->setSocketDescriptor(descriptor)) {
        ::close(descriptor);
        delete connection;
        return;
    }
    m_open.push_back(connection);
    QObject::connect(connection, &QLocalSocket::disconnected, &m_owner,
                     [this, connection] { Drop(connection); });
    auto* timer = new QTimer(connection);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, &m_owner, [this, connection] { Drop(connection); });
    timer->start(kRequestTime);
    auto received = std::make_shared<std::string>();
    QObject::connect(connection, &QLocalSocket::readyRead, &m_owner, [=, this] {
        if (!timer->isActive()) {
            return; // answered already
        }
        // A well-formed request is never longer than this; more is malformed.
        const qint64 room = static_cast<qint64>(8 + 2 * kMaxRequestUnits + 1 - received->size());
        const QByteArray bytes = connection->read(std::max<qint64>(room, 1));
        received->append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        const DecodedRequest decoded = DecodeRequest(*received);
        if (decoded.status == DecodeStatus::Incomplete) {
            return;
        }
        if (decoded.status == DecodeStatus::Malformed) {
            Drop(connection);
            return;
        }
        timer->stop();
        const bool taken = m_take(decoded.request);
        const char answer = EncodeAnswer(taken ? Answer::Accepted : Answer::Refused);
        connection->write(&answer, 1);
        connection->flush();
        // Closes once the answer is out; until then it still counts as open.
        connection->disconnectFromServer();
    });
}
