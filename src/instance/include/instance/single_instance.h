// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One running Kelimbo per user. The first start takes a lock file and listens
// on a local socket beside it; a later start finds the lock taken, hands its
// request to the running program over the socket (instance_message.h) and
// ends. Both live in a folder only the user may enter: $XDG_RUNTIME_DIR, or,
// where that is not set, /tmp/kelimbo-UID, made for the purpose.
//
// A program that crashed leaves both files behind: its lock is then stale
// (its process is gone) and is taken over, and the new holder replaces the
// socket file. Every wait has a time limit.
//
// The running program's end stands up to a flood of connections: it keeps at
// most kMaxOpenConnections of them open, giving up the oldest for a new one,
// drops one that has not sent its whole request within kRequestTime, and
// when the process runs out of files it pauses accepting for a moment
// instead of closing the socket.

#include "instance/instance_message.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QLocalSocket;
class QSocketNotifier;

struct InstancePlace {
    QString lockFile;
    QString socket;
};

// The user's place, or none when no folder that only the user may enter can
// be found or made.
std::optional<InstancePlace> FindInstancePlace();

enum class SendResult {
    Delivered,  // the running program took the request
    NoListener, // nothing listens on the socket (yet, or any more)
    NoAnswer,   // it did not take the request in time
    Refused,    // it answered that it cannot take requests now
};

// Sends one request and waits at most `timeout` for each step (connecting,
// writing, the answer). Needs the toolkit's core application.
SendResult SendRequest(const QString& socket, const InstanceRequest& request,
                       std::chrono::milliseconds timeout);

// The outcome of a start.
struct Election {
    enum class Outcome {
        Primary,    // this start holds the lock and is to serve later starts
        HandedOver, // a running program took the request
        NoAnswer,   // a running program holds the lock but did not take it
        Refused,    // a running program refused it until the patience ran out
        Alone,      // no lock can be had here: run without serving others
    };
    Outcome outcome = Outcome::Alone;
    std::unique_ptr<QLockFile> lock; // held while this start runs (Primary)
    std::optional<InstancePlace> place;
};

// Takes the lock at `place`, or hands the request to the program that holds
// it, trying for at most `patience` while that program does not listen yet or
// refuses (it may be ending, and its lock then becomes this start's).
// Makes a core application of its own for the socket when there is none;
// it is gone again when the call returns.
Election Elect(const InstancePlace& place, const InstanceRequest& request,
               std::chrono::milliseconds patience);

// The running program's end of the socket. Each complete request is handed
// to `take` at once, from the event loop, and answered with what it returns:
// true, taken (kAccepted); false, refused (kRefused). `take` only queues what
// it takes, since the sender waits for the answer. A connection whose bytes
// are malformed, or that stays incomplete for kRequestTime, is closed
// unanswered.
class InstanceServer {
public:
    static constexpr std::size_t kMaxOpenConnections = 32;
    static constexpr std::chrono::milliseconds kRequestTime{1000};
    // How long accepting pauses when the process has no file left for a connection.
    static constexpr std::chrono::milliseconds kAcceptPause{100};

    explicit InstanceServer(std::function<bool(const InstanceRequest&)> take);
    ~InstanceServer();
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    // Listens on the socket, replacing whatever file is there (the caller
    // holds the lock, so no one else can); false when it cannot.
    bool Listen(const QString& socket);

private:
    void AcceptWaiting();
    void Serve(int descriptor);
    void Drop(QLocalSocket* connection);

    std::function<bool(const InstanceRequest&)> m_take;
    int m_listener = -1;
    QByteArray m_path; // the socket file, removed again at the end
    QSocketNotifier* m_waiting = nullptr;
    QTimer m_resume;
    std::deque<QLocalSocket*> m_open; // not yet answered, or not yet closed; oldest first
    // The connections' parent and the context of their handlers: last, so
    // that they go first, while everything their handlers use is still there.
    QObject m_owner;
};
