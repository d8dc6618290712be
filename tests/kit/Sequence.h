// Messages recorded in the order they came and compared with an expected
// list, as Wine's ok_sequence does: where the order matters, one check says
// what was expected and what was found. Optional entries absorb what the
// platform may or may not add.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace testutil {

// What of an expected entry must match besides the message.
enum SequenceFlags {
    kAnyParams = 0,
    kWParam = 1,
    kLParam = 2,
    kOptional = 4,
};

struct ExpectedMessage {
    UINT message;
    int flags = kAnyParams;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageSequence {
public:
    void Add(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { m_seen.push_back({message, wParam, lParam}); }
    void Clear() { m_seen.clear(); }
    const std::vector<RecordedMessage>& Seen() const { return m_seen; }
    size_t Count(UINT message) const;

private:
    std::vector<RecordedMessage> m_seen;
};

// Records the chosen messages that reach one window of this thread, sent or
// posted, through hooks, so the window's own code stays as it is. One at a
// time.
class MessageRecorder {
public:
    // Leaves out what skip() names, if given.
    using Skip = bool (*)(UINT message, WPARAM wParam, LPARAM lParam);
    MessageRecorder(HWND hWnd, std::initializer_list<UINT> messages, Skip skip = nullptr);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    MessageSequence& Sequence() { return m_sequence; }
    void Note(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND m_hWnd;
    std::vector<UINT> m_messages;
    Skip m_skip;
    MessageSequence m_sequence;
    HHOOK m_sent = nullptr;
    HHOOK m_posted = nullptr;
};

// Names the messages a sequence shows (the tray callback among them).
const char* MessageName(UINT message);

bool CheckSequence(const char* file, int line, const MessageSequence& seen, const std::vector<ExpectedMessage>& want,
                   const char* what);

}  // namespace testutil

// ok_sequence(recorded, {{WM_X}, {WM_Y, kWParam, 1}, {WM_Z, kOptional}}, "what happened")
#define ok_sequence(seen, ...) ::testutil::CheckSequence(__FILE__, __LINE__, (seen), __VA_ARGS__)
