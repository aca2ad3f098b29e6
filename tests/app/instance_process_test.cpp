// SPDX-License-Identifier: GPL-2.0-or-later
// The program as processes: the answers that need no display, and a later
// start handing its request to the running program, also after that program
// crashed or a flood of connections hit it, never taken in by a message that
// is not a request, and never told "taken" for a word that then goes nowhere.
#include "app/kelimbo_app.h"
#include "framework/test_hooks.h"
#include "instance/single_instance.h"
#include "support/dictionary_fixture.h"
#include "support/gui_driver.h"
#include "support/isolated_environment.h"
#include "support/temp_dir.h"
#include "ui/kelimbo_dlg.h"
#include "ui/resource_ids.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

namespace fs = std::filesystem;
using testing_support::IsolatedEnvironment;
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
        for (const auto& [name, value] : surroundings.Variables()) {
            environment.insert(QString::fromStdString(name), QString::fromStdString(value));
        }
    }
    void TearDown() override {
        primary.kill();
        primary.waitForFinished();
    }

    static QString Path(const fs::path& path) { return QString::fromStdString(path.string()); }
    fs::path Runtime(const char* name) const { return surroundings.Runtime() / name; }
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
        // The events pumped may already have seen it end, and waitForFinished
        // is false for a process that has.
        if (!PumpUntil([&] {
                return process.state() == QProcess::NotRunning || process.waitForFinished(5);
            })) {
            const QString why = QStringLiteral("not finished: %1 (state %2, error %3)")
                                    .arg(process.errorString())
                                    .arg(process.state())
                                    .arg(process.error());
            process.kill();
            process.waitForFinished();
            return {-1, {}, why + QString::fromUtf8(process.readAllStandardError())};
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    // Starts the real program as the running one and waits until it serves;
    // with `files`, under that limit of open files.
    void StartPrimary(rlim_t files = 0) {
        primary.setProcessEnvironment(environment);
        primary.setChildProcessModifier([files] {
            const rlimit limit{files, files};
            if (files != 0) {
                ::setrlimit(RLIMIT_NOFILE, &limit);
            }
        });
        primary.start(Program(), {});
        PumpUntil([&] {
            return fs::exists(Runtime("kelimbo.lock")) && fs::exists(Runtime("kelimbo.socket"));
        });
        const Outcome raise = Run({});
        ASSERT_EQ(raise.status, 0)
            << "a later start with no word reaches it: " << raise.err.toStdString();
    }

    // This test process as the running program: what it is handed, in order.
    void Serve() {
        election = Elect(place, {}, std::chrono::milliseconds(1000));
        ASSERT_EQ(election.outcome, Election::Outcome::Primary);
        server = std::make_unique<InstanceServer>([this](const InstanceRequest& request) {
            received.push_back(request);
            return true;
        });
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
    IsolatedEnvironment surroundings;
    QProcessEnvironment environment;
    InstancePlace place{Path(Runtime("kelimbo.lock")), Path(Runtime("kelimbo.socket"))};
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
    ASSERT_TRUE(fs::exists(Runtime("kelimbo.lock")));
    ASSERT_TRUE(fs::exists(Runtime("kelimbo.socket")));
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

// The common limit of 1024 open files, and a burst of three times as many
// connections that stay open: the running program keeps serving, and a later
// start is delivered while the flood still holds its connections.
TEST_F(ProgramProcessTest, AFloodOfConnectionsLeavesTheRunningProgramServing) {
    constexpr std::size_t kFlood = 3000;
    rlimit own{};
    ::getrlimit(RLIMIT_NOFILE, &own);
    if (own.rlim_max < kFlood + 100) {
        GTEST_SKIP() << "this process may not open " << kFlood << " connections";
    }
    const rlimit before = own;
    own.rlim_cur = std::max<rlim_t>(own.rlim_cur, kFlood + 100);
    ::setrlimit(RLIMIT_NOFILE, &own);
    StartPrimary(1024);

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socket = place.socket.toStdString();
    std::memcpy(address.sun_path, socket.data(), socket.size());
    std::vector<int> flood;
    int refused = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (flood.size() < kFlood && std::chrono::steady_clock::now() < deadline) {
        const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ASSERT_GE(connection, 0) << std::strerror(errno);
        if (::connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
            0) {
            flood.push_back(connection);
            continue;
        }
        const int error = errno;
        ::close(connection);
        if (error == EAGAIN) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1)); // its queue is full
        } else {
            ++refused;
        }
    }
    EXPECT_EQ(flood.size(), kFlood);
    EXPECT_EQ(refused, 0) << "no one listened any more";

    const Outcome later = Run({QStringLiteral("sxipo")});
    EXPECT_EQ(later.status, 0) << later.err.toStdString();
    EXPECT_EQ(primary.state(), QProcess::Running);
    for (const int connection : flood) {
        ::close(connection);
    }
    ::setrlimit(RLIMIT_NOFILE, &before);
}

// At an open error box, the reader's (the main window runs) or the start-up's
// (none does): a word sent by a later start is shown once the box has
// closed, or refused so that the later start says so; a quit, as the signals
// give it, closes the box and ends the run from there, refusing what comes
// after. This test process is the running program; the user clicks the box's
// OK button once the later start has ended.
TEST_F(ProgramProcessTest, AtAnOpenErrorBoxAWordWaitsOrIsRefusedAndAQuitEndsTheRun) {
    const struct {
        const char* what;
        bool startsUp;      // false: a missing index ends the start-up with the box
        bool quit;          // instead of sending a word
        int status;         // of the later start
        std::u16string box; // the search box once the message box has closed
    } cases[] = {
        {"a word at the reader's read-error box", true, false, 0, u"ĉapelo"},
        {"a word at the start-up error box", false, false, 1, u""},
        {"a quit at the reader's read-error box", true, true, -1, u"ŝafo"},
        {"a quit at the start-up error box", false, true, -1, u""},
    };
    election = Elect(place, {}, std::chrono::milliseconds(1000));
    ASSERT_EQ(election.outcome, Election::Outcome::Primary);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir data;
        dictionary_fixture::WriteDataFiles(data, c.startsUp);
        fs::remove(data.File("EoRu_kelimbo.txt")); // no Esperanto article can be read
        CKelimboApp app;
        app.m_instance = place;

        QProcess sender;
        sender.setProcessEnvironment(environment);
        int boxes = 0;
        int status = -1;
        bool refusedAfterQuit = false;
        QString said;
        QElapsedTimer boxTime;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            if (!boxTime.isValid()) {
                ++boxes;
                boxTime.start();
                if (c.quit) {
                    app.Quit();
                    refusedAfterQuit = !app.TakeRequest({RequestKind::Lookup, u"hundo"});
                } else {
                    sender.start(Program(), {QStringLiteral("cxapelo")});
                }
                return;
            }
            if (boxTime.elapsed() < 15000 && (c.quit || sender.state() != QProcess::NotRunning)) {
                return;
            }
            if (c.quit) {
                ADD_FAILURE() << "the box stayed open";
            }
            sender.kill();
            sender.waitForFinished();
            status = sender.exitStatus() == QProcess::NormalExit ? sender.exitCode() : -1;
            said = QString::fromUtf8(sender.readAllStandardError());
            boxTime.invalidate();
            box->button(QMessageBox::Ok)->click();
        });
        user.start(20);

        std::u16string shown;
        fw::testing::ScopedModalRun run([&](fw::Dialog& d) {
            QWidget* window = fw::testing::WindowWidget(d);
            auto* main = dynamic_cast<CKelimboDlg*>(&d);
            if (main == nullptr) {
                // The reader, after its box: the user leaves it open a while.
                PumpUntil([&] { return !window->isVisible(); });
                d.EndDialog(fw::IDCANCEL);
                return;
            }
            gui_driver::Type(fw::testing::ControlWidget(*main, IDC_SEARCH), u"sxafo");
            gui_driver::ClickLine(fw::testing::ControlWidget(*main, IDC_LIST), 0);
            shown = main->GetEdit(IDC_SEARCH).GetWindowText();
            EXPECT_NE(window->isVisible(), c.quit) << "the search window ends with a quit only";
            d.EndDialog(fw::IDOK);
        });
        ProgramObjects objects;
        EXPECT_FALSE(app.Run(objects, dictionary_fixture::ModulePath(data)));
        EXPECT_EQ(boxes, 1);
        EXPECT_EQ(shown, c.box);
        EXPECT_EQ(refusedAfterQuit, c.quit);
        if (!c.quit) {
            EXPECT_EQ(status, c.status) << said.toStdString();
            EXPECT_EQ(said.contains(QStringLiteral("cannot take")), c.status != 0)
                << said.toStdString();
        }
    }
}

} // namespace
