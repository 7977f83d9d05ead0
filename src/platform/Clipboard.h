#pragma once

#include <string>

// The system clipboard, as far as the game uses it: plain text in and out (UTF-8). The program
// installs the platform's clipboard once its window exists; tests install a recording one.
// Without one, every copy and paste fails quietly.

class TClipboard {
  public:
    virtual ~TClipboard() = default;
    // Puts `text` on the clipboard; false when the system refused it.
    virtual bool SetText(const std::string& text) = 0;
    // The clipboard's text; false when it holds none (or no text) or cannot be read.
    virtual bool GetText(std::string& text) = 0;
};

// Installs the clipboard (not owned); null removes it.
void SetClipboard(TClipboard* clipboard);
// The installed clipboard, or null.
TClipboard* Clipboard();

// A clipboard in memory that remembers what was put on it, for tests. `Works` false makes it
// refuse both ways, as a system clipboard that cannot be reached does.
class TRecordingClipboard final : public TClipboard {
  public:
    bool SetText(const std::string& text) override;
    bool GetText(std::string& text) override;

    std::string Text;
    bool HasText = false;
    bool Works = true;
    int Sets = 0; // successful SetText calls
};
