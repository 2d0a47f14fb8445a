// The schedule's notice on Windows: a task-modal message box titled "信息：".
#pragma once

#include "notice.h"

class MessageBoxNotice final : public Notice {
public:
    void ShowMessage(const Text& text) override;
};
