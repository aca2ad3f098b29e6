// SPDX-License-Identifier: GPL-2.0-or-later
// The program as processes: the answers that need no display, and a later
// start handing its request to the running program, also after that program
// crashed, and never taken in by a message that is not a request.
#include "instance/single_instance.h"
#include "support/dictionary_fixture.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

class ProgramProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The program finds its dictionary beside itself.
        dictionary_fixture::WriteDataFiles(folder);
        fs::copy_file(KELIMBO_PROGRAM, folder.File("kelimbo"));
        fs::permissions(runtime.Path(), fs::perms::owner_all, fs::perm_options::replace);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), Path(runtime.Path()));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    void TearDown() override {
        primary.kill();
        primary.waitForFinished();
    }

    static QString Path(const fs::path& path) { return QString::fromStdString(path.string()); }
    QString Program() const { return Path(folder.File("kelimbo")); }

    // Lets this process's events go on until `done`, for ten seconds at most.
    template <class Done> static bool PumpUntil(Done done) {
        QElapsedTimer time;
        time.start();
        bool finished = false;
        while (!(finished = done()) && time.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return finished;
    }

    // Runs the program to its end.
    Outcome Run(const QStringList& args) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(Program(), args);
        if (!PumpUntil([&] { return process.waitForFinished(5); })) {
            process.kill();
            process.waitForFinished();
            return {};
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    // Starts the real program as the running one and waits until it serves.
    void StartPrimary() {
        primary.setProcessEnvironment(environment);
        primary.start(Program(), {});
        PumpUntil([&] {
            return fs::exists(runtime.File("kelimbo.lock")) &&
                   fs::exists(runtime.File("kelimbo.socket"));
        });
        ASSERT_EQ(Run({}).status, 0) << "a later start with no word reaches it";
    }

    // This test process as the running program: what it is handed, in order.
    void Serve() {
        election = Elect(place, {}, std::chrono::milliseconds(1000));
        ASSERT_EQ(election.outcome, Election::Outcome::Primary);
        server = std::make_unique<InstanceServer>(
            [this](const InstanceRequest& request) { received.push_back(request); });
        ASSERT_TRUE(server->Listen(place.socket));
    }
    InstanceRequest NextReceived() {
        if (!PumpUntil([&] { return !received.empty(); })) {
            ADD_FAILURE() << "nothing received";
            return {};
        }
        const InstanceRequest request = received.front();
        received.erase(received.begin());
        return request;
    }

    TempDir folder;
    TempDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    InstancePlace place{Path(runtime.File("kelimbo.lock")), Path(runtime.File("kelimbo.socket"))};
    QProcess primary;
    Election election;
    std::unique_ptr<InstanceServer> server;
    std::vector<InstanceRequest> received;
};

TEST_F(ProgramProcessTest, HelpVersionAndWrongUsageNeedNoDisplay) {
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const Outcome help = Run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: kelimbo [WORD]\n")))
        << help.out.toStdString();
    EXPECT_EQ(help.err, QString());
    const Outcome version = Run({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("kelimbo ")));
    EXPECT_EQ(version.out.count(QLatin1Char('\n')), 1) << "one line";
    const Outcome wrong = Run({QStringLiteral("--bogus")});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, QString());
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("--bogus")));
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("Usage: kelimbo")));
}

TEST_F(ProgramProcessTest, ALaterStartHandsItsRequestOverAndEnds) {
    Serve();
    const struct {
        QStringList args;
        InstanceRequest request;
    } cases[] = {
        {{QStringLiteral("sxipo")}, {RequestKind::Lookup, u"sxipo"}},
        {{QStringLiteral("--"), QStringLiteral("-ad-")}, {RequestKind::Lookup, u"-ad-"}},
        {{QStringLiteral("--selection")}, {RequestKind::Selection, u""}},
        {{}, {RequestKind::Raise, u""}},
    };
    for (const auto& c : cases) {
        const Outcome later = Run(c.args);
        EXPECT_EQ(later.status, 0) << later.err.toStdString();
        EXPECT_EQ(NextReceived(), c.request) << c.args.join(' ').toStdString();
    }
    EXPECT_TRUE(received.empty()) << "one request per start";
}

TEST_F(ProgramProcessTest, TheLockAndSocketOfACrashedProgramAreTakenOver) {
    StartPrimary();
    primary.kill(); // no chance to clean up
    primary.waitForFinished();
    ASSERT_TRUE(fs::exists(runtime.File("kelimbo.lock")));
    ASSERT_TRUE(fs::exists(runtime.File("kelimbo.socket")));
    Serve();
    EXPECT_EQ(Run({QStringLiteral("hundo")}).status, 0);
    EXPECT_EQ(NextReceived(), (InstanceRequest{RequestKind::Lookup, u"hundo"}));
}

TEST_F(ProgramProcessTest, TheRunningProgramIgnoresWhatIsNoRequest) {
    StartPrimary();
    std::string otherVersion = EncodeRequest({RequestKind::Lookup, u"hundo"});
    otherVersion[4] = 2;
    for (const std::string& bytes : {std::string("GET / HTTP/1.0\r\n\r\n"), otherVersion}) {
        QLocalSocket connection;
        connection.connectToServer(place.socket);
        ASSERT_TRUE(connection.waitForConnected(2000));
        connection.write(bytes.data(), static_cast<qint64>(bytes.size()));
        connection.waitForBytesWritten(2000);
        EXPECT_TRUE(connection.state() == QLocalSocket::UnconnectedState ||
                    connection.waitForDisconnected(2000))
            << "closed";
        EXPECT_TRUE(connection.readAll().isEmpty()) << "unanswered";
    }
    const Outcome later = Run({QStringLiteral("sxipo")});
    EXPECT_EQ(later.status, 0) << "it still serves: " << later.err.toStdString();
    EXPECT_EQ(primary.state(), QProcess::Running);
}

} // namespace
