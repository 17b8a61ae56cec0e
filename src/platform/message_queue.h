// The queue of a platform that turns its window system's events into window messages itself (SDL,
// the browser): translated messages wait here in order, and a posted quit message is retrieved
// only once nothing else waits, as from Windows' own queue.
#pragma once

#include <deque>

#include "platform/platform.h"

class MessageQueue {
  public:
    void Post(const Message& message) { waiting.push_back(message); }
    void PostQuit(int exitCode) {
        quitPosted = true;
        quitCode = exitCode;
    }
    bool Empty() const { return waiting.empty() && !quitPosted; }
    bool HasTranslated() const { return !waiting.empty(); }

    // The next message, the quit message last; false when none waits.
    bool Next(Message& message) {
        if (!waiting.empty()) {
            message = waiting.front();
            waiting.pop_front();
            return true;
        }
        if (!quitPosted) return false;
        quitPosted = false;
        message = Message{};
        message.message = WM_QUIT;
        message.wParam = static_cast<uintptr_t>(quitCode);
        return true;
    }

  private:
    std::deque<Message> waiting;
    bool quitPosted = false;
    int quitCode = 0;
};
