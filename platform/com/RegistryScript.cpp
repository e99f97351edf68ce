#include "platform/com/RegistryScript.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

struct Token {
    enum class Kind { Word, Quoted, Open, Close, Equals, End };
    Kind kind = Kind::End;
    std::string text;
    int line = 1;

    bool IsKeyword(std::string_view word) const {
        return kind == Kind::Word && SameIgnoringCase(text, word);
    }
};

class Parser {
public:
    Parser(std::string_view text, const std::map<std::string, std::string>& variables)
        : text_(text), variables_(variables) {}

    bool Run(RegistryScript& script) {
        if (!Next()) {
            return false;
        }
        while (token_.kind != Token::Kind::End) {
            if (token_.IsKeyword("NoRemove") && !Next()) {
                return false;
            }
            RegistryScript::Root root;
            if (token_.IsKeyword("HKCR") || token_.IsKeyword("HKEY_CLASSES_ROOT")) {
                root.root = RegistryRoot::ClassesRoot;
            } else if (token_.IsKeyword("HKCU") || token_.IsKeyword("HKEY_CURRENT_USER")) {
                root.root = RegistryRoot::CurrentUser;
            } else {
                return Error("onbekende hoofdsleutel '" + token_.text + "'");
            }
            if (!Next()) {
                return false;
            }
            if (token_.kind != Token::Kind::Open) {
                return Error("'{' verwacht na de hoofdsleutel");
            }
            if (!Next() || !Block(root.values, root.keys)) {
                return false;
            }
            script.roots.push_back(std::move(root));
        }
        return true;
    }

    const std::string& ErrorText() const { return error_; }

private:
    /// Reads the contents of a block up to and including its '}'. Blocks nest no deeper
    /// than keys may lie, so a hostile script cannot exhaust the stack.
    bool Block(std::vector<RegistryScript::Value>& values, std::vector<RegistryScript::Key>& keys) {
        if (depth_ > Registry::kMaxKeyDepth) {
            return Error("te diep genest: meer dan " + std::to_string(Registry::kMaxKeyDepth) +
                         " niveaus");
        }
        ++depth_;
        const bool ok = BlockContents(values, keys);
        --depth_;
        return ok;
    }

    bool BlockContents(std::vector<RegistryScript::Value>& values,
                       std::vector<RegistryScript::Key>& keys) {
        while (token_.kind != Token::Kind::Close) {
            if (token_.kind == Token::Kind::End) {
                return Error("'}' ontbreekt");
            }
            if (token_.IsKeyword("val")) {
                RegistryScript::Value value;
                if (!Next() || !Name(value.name) || !Next()) {
                    return false;
                }
                if (token_.kind != Token::Kind::Equals) {
                    return Error("'=' verwacht na val " + value.name);
                }
                if (!Next() || !Data(value.data) || !Next()) {
                    return false;
                }
                values.push_back(std::move(value));
                continue;
            }
            RegistryScript::Key key;
            if (token_.IsKeyword("NoRemove")) {
                key.flag = RegistryScript::Key::Flag::NoRemove;
            } else if (token_.IsKeyword("ForceRemove")) {
                key.flag = RegistryScript::Key::Flag::ForceRemove;
            } else if (token_.IsKeyword("Delete")) {
                key.flag = RegistryScript::Key::Flag::Delete;
            }
            if (key.flag != RegistryScript::Key::Flag::None && !Next()) {
                return false;
            }
            if (!Name(key.name) || !Next()) {
                return false;
            }
            if (token_.kind == Token::Kind::Equals) {
                RegistryValue data;
                if (!Next() || !Data(data) || !Next()) {
                    return false;
                }
                key.defaultValue = std::move(data);
            }
            if (token_.kind == Token::Kind::Open) {
                if (!Next() || !Block(key.values, key.subkeys)) {
                    return false;
                }
            }
            keys.push_back(std::move(key));
        }
        return Next();
    }

    bool Name(std::string& name) {
        if (token_.kind != Token::Kind::Word && token_.kind != Token::Kind::Quoted) {
            return Error("naam verwacht");
        }
        if (token_.text.empty()) {
            return Error("lege naam");
        }
        name = token_.text;
        return true;
    }

    /// Reads "s 'text'" or "d number"; leaves the cursor on the value's last token.
    bool Data(RegistryValue& data) {
        const bool isString = token_.IsKeyword("s");
        const bool isDword = token_.IsKeyword("d");
        if (!isString && !isDword) {
            return Error("waardetype 's' of 'd' verwacht, niet '" + token_.text + "'");
        }
        if (!Next()) {
            return false;
        }
        if (token_.kind != Token::Kind::Word && token_.kind != Token::Kind::Quoted) {
            return Error("waarde verwacht");
        }
        if (isString) {
            data = RegistryValue::String(token_.text);
            return true;
        }
        const std::string& digits = token_.text;
        char* end = nullptr;
        errno = 0;
        const unsigned long long number = std::strtoull(digits.c_str(), &end, 0);
        if (digits.empty() || digits[0] == '-' || end == nullptr || *end != '\0' ||
            errno == ERANGE || number > std::numeric_limits<std::uint32_t>::max()) {
            return Error("ongeldig getal '" + digits + "'");
        }
        data = RegistryValue::Dword(static_cast<std::uint32_t>(number));
        return true;
    }

    bool Error(std::string what) {
        if (error_.empty()) {
            error_ = "regel " + std::to_string(token_.line) + ": " + std::move(what);
        }
        return false;
    }

    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    /// Replaces the variable whose name starts at text_[pos_] (just past the '%').
    bool Variable(std::string& out) {
        const std::size_t end = text_.find('%', pos_);
        if (end == std::string_view::npos) {
            token_.line = line_;
            return Error("'%' zonder einde");
        }
        const std::string name(text_.substr(pos_, end - pos_));
        pos_ = end + 1;
        if (name.empty()) {
            out += '%';
            return true;
        }
        auto it = variables_.find(name);
        if (it == variables_.end()) {
            token_.line = line_;
            return Error("onbekende variabele %" + name + "%");
        }
        out += it->second;
        return true;
    }

    bool Next() {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) {
            if (text_[pos_] == '\n') {
                ++line_;
            }
            ++pos_;
        }
        token_ = Token{};
        token_.line = line_;
        if (pos_ >= text_.size()) {
            return true;
        }
        const char c = text_[pos_];
        const char after = pos_ + 1 < text_.size() ? text_[pos_ + 1] : ' ';
        if (c == '{' && (IsSpace(after) || after == '{' || after == '}')) {
            token_.kind = Token::Kind::Open;
            ++pos_;
            return true;
        }
        if (c == '}') {
            token_.kind = Token::Kind::Close;
            ++pos_;
            return true;
        }
        if (c == '=') {
            token_.kind = Token::Kind::Equals;
            ++pos_;
            return true;
        }
        if (c == '\'') {
            token_.kind = Token::Kind::Quoted;
            ++pos_;
            while (true) {
                if (pos_ >= text_.size()) {
                    return Error("' zonder einde");
                }
                const char q = text_[pos_++];
                if (q == '\'') {
                    if (pos_ < text_.size() && text_[pos_] == '\'') {
                        token_.text += '\'';
                        ++pos_;
                        continue;
                    }
                    return true;
                }
                if (q == '\n') {
                    ++line_;
                }
                if (q == '%') {
                    if (!Variable(token_.text)) {
                        return false;
                    }
                    continue;
                }
                token_.text += q;
            }
        }
        token_.kind = Token::Kind::Word;
        while (pos_ < text_.size() && !IsSpace(text_[pos_]) && text_[pos_] != '=' &&
               text_[pos_] != '\'') {
            const char w = text_[pos_++];
            if (w == '%') {
                if (!Variable(token_.text)) {
                    return false;
                }
                continue;
            }
            token_.text += w;
        }
        return true;
    }

    std::string_view text_;
    const std::map<std::string, std::string>& variables_;
    std::size_t pos_ = 0;
    int line_ = 1;
    Token token_;
    std::string error_;
    std::size_t depth_ = 0;
};

} // namespace

std::optional<RegistryScript>
RegistryScript::Parse(std::string_view text, const std::map<std::string, std::string>& variables,
                      std::string* error) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    Parser parser(text, variables);
    RegistryScript script;
    if (!parser.Run(script)) {
        if (error != nullptr) {
            *error = parser.ErrorText();
        }
        return std::nullopt;
    }
    return script;
}
