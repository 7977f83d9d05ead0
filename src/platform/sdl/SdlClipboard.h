#pragma once

#include "platform/Clipboard.h"

// The clipboard through SDL (the X11 CLIPBOARD selection, the Windows clipboard, the browser's
// where it allows). Needs SDL's video started and a window; an error leaves the clipboard as it
// was and is reported by the return value only.
class TSdlClipboard final : public TClipboard {
  public:
    bool SetText(const std::string& text) override;
    bool GetText(std::string& text) override;
};
