// The text and conversion commands. Texts are GBK and handled byte-wise; the
// one command that scans (*split text*) steps over double-byte characters so
// that a separator is never found inside one.
#include "runtime/text_commands.h"

#include <cstring>
#include <vector>

#include "runtime/memory.h"
#include "runtime/value_text.h"

namespace {

void SetAddress(ArgValue* result, const void* block) {
    result->low = ToWord(block);
}

// A new array block: dimension count 1, the size, the element addresses.
void* MakeTextArray(const std::vector<char*>& pieces) {
    uint32_t count = static_cast<uint32_t>(pieces.size());
    Word* block = static_cast<Word*>(Allocate(8 + 4 * count));
    block[0] = 1;
    block[1] = count;
    for (uint32_t i = 0; i < count; ++i) block[2 + i] = ToWord(pieces[i]);
    return block;
}

}  // namespace

void CmdCharFromCode(ArgValue* result, int32_t, ArgValue* args) {
    char code = static_cast<char>(args[0].low & 0xFF);
    SetAddress(result, CopyTextN(&code, code != '\0' ? 1 : 0));
}

void CmdToNumber(ArgValue* result, int32_t, ArgValue* args) {
    ArgValue number = MakeDouble(ValueToNumber(args[0]));
    result->low = number.low;
    result->high = number.high;
}

void CmdToText(ArgValue* result, int32_t, ArgValue* args) {
    SetAddress(result, ValueToText(args[0]));
}

void CmdSplitText(ArgValue* result, int32_t, ArgValue* args) {
    const char* text = ValueText(args[0]);
    const char* separator = args[1].type != DT_NONE ? ValueText(args[1]) : ",";
    // An omitted maximum (tag 0) means no limit; a given one below 0 counts as 0.
    bool limited = args[2].type != DT_NONE;
    int32_t remaining = limited ? ValueInt(args[2]) : 0;
    if (remaining < 0) remaining = 0;

    std::vector<char*> pieces;
    if (!TextIsEmpty(text) && !(limited && remaining == 0)) {
        if (TextIsEmpty(separator)) {
            pieces.push_back(CopyText(text));
        } else {
            size_t textLength = std::strlen(text);
            size_t separatorLength = std::strlen(separator);
            size_t pieceStart = 0;
            size_t at = 0;
            bool exhausted = false;
            while (textLength - at >= separatorLength) {
                if (std::memcmp(text + at, separator, separatorLength) == 0) {
                    pieces.push_back(
                        CopyTextN(text + pieceStart, static_cast<uint32_t>(at - pieceStart)));
                    at += separatorLength;
                    pieceStart = at;
                    if (limited && --remaining == 0) {
                        exhausted = true;
                        break;
                    }
                } else if (static_cast<unsigned char>(text[at]) >= 0x80) {
                    if (text[at + 1] == '\0') break;  // a broken character ends the scan
                    at += 2;
                } else {
                    at += 1;
                }
            }
            // What follows the last separator is a piece unless it is empty
            // or the maximum count has been reached.
            if (!exhausted && pieceStart < textLength) {
                pieces.push_back(
                    CopyTextN(text + pieceStart, static_cast<uint32_t>(textLength - pieceStart)));
            }
        }
    }
    SetAddress(result, MakeTextArray(pieces));
}

void CmdBlankByteSet(ArgValue* result, int32_t, ArgValue* args) {
    int32_t length = ValueInt(args[0]);
    if (length <= 0) {
        SetAddress(result, nullptr);
        return;
    }
    uint8_t* block =
        static_cast<uint8_t*>(Allocate(kByteSetHeader + static_cast<uint32_t>(length)));
    int32_t header[2] = {1, length};
    std::memcpy(block, header, sizeof header);
    std::memset(block + kByteSetHeader, 0, static_cast<uint32_t>(length));
    SetAddress(result, block);
}
