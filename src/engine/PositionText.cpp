#include "engine/PositionText.h"

namespace {

constexpr std::size_t kBoardChars = 64;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Shown(char c) {
    if (c >= 0x21 && c <= 0x7E) {
        return std::string("'") + c + "'";
    }
    static const char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 0xF];
}

} // namespace

TPositionParse ParsePositionText(std::string_view line, TPositionText* position,
                                 std::string* reason) {
    const std::string_view text = Trimmed(line.substr(0, line.find(';')));
    if (text.empty()) {
        return TPositionParse::Blank;
    }
    // Step 1. The board: exactly 64 squares, then a space.
    std::size_t squares = 0;
    while (squares < text.size() && !IsBlank(text[squares])) {
        ++squares;
    }
    if (squares != kBoardChars) {
        *reason = "the board has " + std::to_string(squares) + " characters, not 64";
        return TPositionParse::Bad;
    }
    TPositionText read;
    for (std::size_t i = 0; i < kBoardChars; ++i) {
        const char c = text[i];
        if (c == 'X') {
            read.Black |= FastBit(static_cast<int>(i));
        } else if (c == 'O') {
            read.White |= FastBit(static_cast<int>(i));
        } else if (c != '-') {
            *reason =
                "square " + SquareName(static_cast<int>(i)) + " is " + Shown(c) + ", not X, O or -";
            return TPositionParse::Bad;
        }
    }
    // Step 2. The side to move.
    const std::string_view side = Trimmed(text.substr(kBoardChars));
    if (side.empty()) {
        *reason = "the side to move (X or O) is missing after the board";
        return TPositionParse::Bad;
    }
    if (side != "X" && side != "O") {
        *reason = "the side to move is \"" + std::string(side) + "\", not X or O";
        return TPositionParse::Bad;
    }
    read.BlackToMove = side == "X";
    *position = read;
    return TPositionParse::Position;
}

std::string SquareName(int square) {
    return {static_cast<char>('a' + square % 8), static_cast<char>('1' + square / 8)};
}
