// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Hooks for tests of window code with real widgets: a test may take over the
// modal run, capture message boxes instead of showing them, and set the
// screen's size. Every hook is scoped and restores what was before it.

#include "framework/dialog.h"
#include "framework/input_panel.h"
#include "framework/message_box.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace fw::testing {

// Replaces the event loop of every DoModal while alive. DoModal creates and
// shows the window, calls OnInitDialog, then calls `run`, which drives the
// window and ends it with EndDialog; DoModal returns that code (-1 if `run`
// left the dialog open).
class ScopedModalRun {
public:
    explicit ScopedModalRun(std::function<void(Dialog&)> run);
    ~ScopedModalRun();
    ScopedModalRun(const ScopedModalRun&) = delete;
    ScopedModalRun& operator=(const ScopedModalRun&) = delete;

private:
    std::function<void(Dialog&)> m_previous;
};

struct MessageBoxCall {
    const Dialog* owner = nullptr;
    std::u16string text;
    std::u16string caption;
    MessageBoxIcon icon = MessageBoxIcon::None;
};

// Records message boxes instead of showing them; each is answered with IDOK,
// and each question (AskYesNo, its icon Question) with No unless AnswerYes.
class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;
    const std::vector<MessageBoxCall>& Calls() const { return m_calls; }
    void AnswerYes(bool yes);

private:
    std::vector<MessageBoxCall> m_calls;
    std::vector<MessageBoxCall>* m_previous;
    bool m_previousAnswer;
};

// Makes every window see a screen of the given size; each change sends
// Msg::Size to every live dialog, as turning the screen does.
class ScopedScreenSize {
public:
    ScopedScreenSize(int cx, int cy);
    ~ScopedScreenSize();
    ScopedScreenSize(const ScopedScreenSize&) = delete;
    ScopedScreenSize& operator=(const ScopedScreenSize&) = delete;
    void Set(int cx, int cy);

private:
    std::optional<ScreenSize> m_previous;
};

struct SaveFileCall {
    const Dialog* owner = nullptr;
    std::u16string caption;
    std::u16string suggested;
    std::u16string filters;
};

// Answers every GetSaveFileName with `path` (none: as if cancelled) instead
// of showing the dialog, and records the questions.
class ScopedSaveFileAnswer {
public:
    explicit ScopedSaveFileAnswer(std::optional<std::string> path);
    ~ScopedSaveFileAnswer();
    ScopedSaveFileAnswer(const ScopedSaveFileAnswer&) = delete;
    ScopedSaveFileAnswer& operator=(const ScopedSaveFileAnswer&) = delete;
    const std::vector<SaveFileCall>& Calls() const { return calls; }

    std::optional<std::string> path;
    std::vector<SaveFileCall> calls;

private:
    ScopedSaveFileAnswer* m_previous;
};

// The last input-panel request, if any since the start or the last reset.
std::optional<SipState> LastSipRequest();
void ResetSipRequests();

// Toolkit widgets of a live dialog, for sending events; null when absent.
QWidget* WindowWidget(const Dialog& dialog);
QWidget* ControlWidget(const Dialog& dialog, int id);
QWidget* SoftKeyWidget(const Dialog& dialog, int command);

} // namespace fw::testing
