// Message tables: each class lists the messages, commands and notifications
// it handles, and names its base class's table for everything else.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <type_traits>

#include "framework/CObject.h"

class CWnd;
class CCmdTarget;

struct MessageEntry {
    enum Kind : unsigned char { kMessage, kCommand, kNotify };
    Kind kind;
    UINT message;     // kMessage: the message; kNotify: the notification code
    UINT id;          // kCommand, kNotify: the command or control id
    LRESULT (*thunk)(CCmdTarget* self, WPARAM wParam, LPARAM lParam);
};

struct MessageTable {
    const MessageEntry* first;
    const MessageEntry* last;
    const MessageTable* base;

    template <std::size_t N>
    constexpr MessageTable(const MessageEntry (&entries)[N], const MessageTable* baseTable)
        : first(entries), last(entries + N), base(baseTable) {}
    // A table with no entries of its own.
    constexpr explicit MessageTable(const MessageTable* baseTable)
        : first(nullptr), last(nullptr), base(baseTable) {}

    const MessageEntry* Find(MessageEntry::Kind kind, UINT message, UINT id) const;
};

class CCmdTarget : public CObject {
public:
    virtual const MessageTable* GetMessageTable() const { return nullptr; }

    // Looks a command up in this object's tables; true when a handler ran.
    bool OnCmdMsg(UINT id);
};

// Crackers: the table entry adapts wParam/lParam to the handler's typed
// arguments once, here, so handlers read like the algorithms they implement.
namespace msgcrack {

template <class P> struct MemberOf;
template <class R, class C, class... A> struct MemberOf<R (C::*)(A...)> { using type = C; };

template <class> inline constexpr bool kUnsupported = false;

CWnd* WndFromHandle(HWND hWnd);

template <auto Pfn>
LRESULT Crack(CCmdTarget* target, WPARAM wParam, LPARAM lParam) {
    using P = decltype(Pfn);
    using C = typename MemberOf<P>::type;
    C* self = static_cast<C*>(target);
    if constexpr (std::is_same_v<P, void (C::*)()>) {
        (self->*Pfn)();
        return 0;
    } else if constexpr (std::is_same_v<P, BOOL (C::*)()>) {
        return (self->*Pfn)();
    } else if constexpr (std::is_same_v<P, HICON (C::*)()>) {     // WM_QUERYDRAGICON
        return reinterpret_cast<LRESULT>((self->*Pfn)());
    } else if constexpr (std::is_same_v<P, LRESULT (C::*)(WPARAM, LPARAM)>) {
        return (self->*Pfn)(wParam, lParam);
    } else if constexpr (std::is_same_v<P, void (C::*)(UINT, LPARAM)>) {   // WM_SYSCOMMAND
        (self->*Pfn)(static_cast<UINT>(wParam), lParam);
        return 0;
    } else if constexpr (std::is_same_v<P, void (C::*)(UINT_PTR)>) {       // WM_TIMER
        (self->*Pfn)(static_cast<UINT_PTR>(wParam));
        return 0;
    } else if constexpr (std::is_same_v<P, int (C::*)(CREATESTRUCTW*)>) {  // WM_CREATE of a Unicode window
        return (self->*Pfn)(reinterpret_cast<CREATESTRUCTW*>(lParam));
    } else if constexpr (std::is_same_v<P, void (C::*)(UINT, const RECT&)>) {  // WM_DPICHANGED
        static const RECT kNoSuggestion = {};
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        (self->*Pfn)(LOWORD(wParam), suggested ? *suggested : kNoSuggestion);
        return 0;
    } else if constexpr (std::is_same_v<P, void (C::*)(UINT, int, int)>) {  // WM_SIZE
        (self->*Pfn)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                     static_cast<short>(HIWORD(lParam)));
        return 0;
    } else if constexpr (std::is_same_v<P, void (C::*)(CWnd*, POINT)>) {    // WM_CONTEXTMENU
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        (self->*Pfn)(WndFromHandle(reinterpret_cast<HWND>(wParam)), pt);
        return 0;
    } else if constexpr (std::is_same_v<P, void (C::*)(NMHDR*, LRESULT*)>) { // WM_NOTIFY
        LRESULT result = 0;
        (self->*Pfn)(reinterpret_cast<NMHDR*>(lParam), &result);
        return result;
    } else {
        static_assert(kUnsupported<P>, "no cracker for this handler signature");
        return 0;
    }
}

}  // namespace msgcrack

// A window message to a typed handler: OnMessage<&CMyDlg::OnPaint>(WM_PAINT).
template <auto Pfn>
constexpr MessageEntry OnMessage(UINT message) {
    return {MessageEntry::kMessage, message, 0, &msgcrack::Crack<Pfn>};
}

// WM_COMMAND from a menu, an accelerator or a button click with this id.
template <auto Pfn>
constexpr MessageEntry OnCommand(UINT id) {
    return {MessageEntry::kCommand, WM_COMMAND, id, &msgcrack::Crack<Pfn>};
}

// WM_NOTIFY with this code from control id; handler void (NMHDR*, LRESULT*).
template <auto Pfn>
constexpr MessageEntry OnNotify(UINT code, UINT id) {
    return {MessageEntry::kNotify, code, id, &msgcrack::Crack<Pfn>};
}
