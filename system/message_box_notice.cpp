#include "message_box_notice.h"

#include <windows.h>

#include "program.h"

void MessageBoxNotice::ShowMessage(const Text& text) {
    ProcessApi().messageBox(nullptr, text.c_str(), kNoticeTitle, MB_OK | MB_TASKMODAL);
}
