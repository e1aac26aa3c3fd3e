// Conversions between the program's code page (GBK, whatever the host is set
// to) and the engine's UTF-8. Results live in the C heap and the caller frees
// them; null means the text cannot be converted.
#pragma once

namespace sqlitelib {

// GBK to UTF-8. Null or "" gives a new "". Fails on a byte sequence that is
// not valid GBK (platform/gbk_codec.h says which are).
char* ToUtf8(const char* text);

// UTF-8 to GBK. Null or "" gives a new "". Fails on a sequence that is not
// well-formed UTF-8 (a stray continuation byte, an overlong form, an encoded
// surrogate, a cut-off sequence) and on a character GBK cannot hold, which
// takes in every four-byte sequence.
char* FromUtf8(const char* utf8);

// True when every byte is below 0x80: such a text is the same in GBK and
// UTF-8 and needs no conversion.
bool IsAsciiText(const char* text);

// A program text as the engine takes it. Pure ASCII is handed over as it is,
// so that long batches of plain SQL cost no copy; anything else is converted.
class EngineText {
  public:
    explicit EngineText(const char* text);
    ~EngineText();
    EngineText(const EngineText&) = delete;
    EngineText& operator=(const EngineText&) = delete;

    bool ok() const { return text_ != nullptr; }  // false: not convertible
    const char* get() const { return text_; }

  private:
    const char* text_;  // what the engine gets; null when conversion failed
    char* converted_;   // owned UTF-8 copy, or null for pass-through text
};

}  // namespace sqlitelib
