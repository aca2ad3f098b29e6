// SPDX-License-Identifier: GPL-2.0-or-later
#include "instance/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A connection that has not sent a whole request by then is dropped.
constexpr milliseconds kRequestTime{2000};
// A later start tries again this often while the lock's holder does not listen.
constexpr milliseconds kRetryPause{10};

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
    return answer == kAccepted ? SendResult::Delivered : SendResult::NoAnswer;
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
        case SendResult::NoListener:
            break; // starting up, or just gone: the lock tells which
        }
        if (Clock::now() >= deadline) {
            election.outcome = Election::Outcome::NoAnswer;
            return election;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

InstanceServer::InstanceServer(std::function<void(const InstanceRequest&)> handler)
    : m_handler(std::move(handler)) {
    QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this] {
        while (QLocalSocket* connection = m_server.nextPendingConnection()) {
            Serve(connection);
        }
    });
}

bool InstanceServer::Listen(const QString& socket) {
    QLocalServer::removeServer(socket);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    return m_server.listen(socket);
}

void InstanceServer::Serve(QLocalSocket* connection) {
    QObject::connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
    auto* timer = new QTimer(connection);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, connection, &QLocalSocket::abort);
    timer->start(kRequestTime);
    auto received = std::make_shared<std::string>();
    QObject::connect(connection, &QLocalSocket::readyRead, connection, [=, this] {
        // A well-formed request is never longer than this; more is malformed.
        const qint64 room = static_cast<qint64>(8 + 2 * kMaxRequestUnits + 1 - received->size());
        const QByteArray bytes = connection->read(std::max<qint64>(room, 1));
        received->append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        const DecodedRequest decoded = DecodeRequest(*received);
        if (decoded.status == DecodeStatus::Incomplete) {
            return;
        }
        timer->stop();
        if (decoded.status == DecodeStatus::Malformed) {
            connection->abort();
            return;
        }
        connection->write(&kAccepted, 1);
        connection->flush();
        connection->disconnectFromServer();
        // Handled from the event loop, after this connection's own doings.
        QTimer::singleShot(0, &m_server, [this, request = decoded.request] { m_handler(request); });
    });
}
