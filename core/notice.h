// The one modal notice the schedule shows. Windows shows a task-modal message box
// titled "信息：" with a single OK button; tests record the text.
#pragma once

#include "text.h"

class Notice {
public:
    virtual ~Notice() = default;
    // Returns when the user has dismissed it.
    virtual void ShowMessage(const Text& text) = 0;
};

inline constexpr char kNoticeTitle[] = "信息：";
