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

#include "instance/instance_message.h"

#include <QLocalServer>
#include <QLockFile>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

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
        Alone,      // no lock can be had here: run without serving others
    };
    Outcome outcome = Outcome::Alone;
    std::unique_ptr<QLockFile> lock; // held while this start runs (Primary)
    std::optional<InstancePlace> place;
};

// Takes the lock at `place`, or hands the request to the program that holds
// it, trying for at most `patience` while that program does not listen yet.
// Makes a core application of its own for the socket when there is none;
// it is gone again when the call returns.
Election Elect(const InstancePlace& place, const InstanceRequest& request,
               std::chrono::milliseconds patience);

// The running program's end of the socket. Requests are answered as soon as
// they are complete, then handed to `handler` from the event loop; a
// connection whose bytes are malformed, or that stays incomplete for too
// long, is closed unanswered.
class InstanceServer {
public:
    explicit InstanceServer(std::function<void(const InstanceRequest&)> handler);
    // Listens on the socket, replacing whatever file is there (the caller
    // holds the lock, so no one else can); false when it cannot.
    bool Listen(const QString& socket);

private:
    void Serve(QLocalSocket* connection);

    std::function<void(const InstanceRequest&)> m_handler;
    QLocalServer m_server;
};
