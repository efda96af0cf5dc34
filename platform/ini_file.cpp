#include "platform/ini_file.h"

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "platform/native_file.h"

namespace lumora {

namespace {

constexpr size_t kMaxValueBytes = 10239;
// Files whose parsed content is kept; the library index and a few novel records at a time.
constexpr size_t kCachedFiles = 32;
constexpr std::string_view kLineBreak = "\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view skipLeadingControl(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
        s.remove_prefix(1);
    return s;
}

// Byte offset of the next character boundary: a byte of 0x80 or above leads a two-byte
// character, whose trail byte may look like '[', ']' or a letter.
size_t nextCharacter(std::string_view s, size_t i) {
    return static_cast<unsigned char>(s[i]) >= 0x80 ? i + 2 : i + 1;
}

size_t findFirst(std::string_view s, char c) {
    for (size_t i = 0; i < s.size(); i = nextCharacter(s, i))
        if (s[i] == c)
            return i;
    return std::string_view::npos;
}

size_t findLast(std::string_view s, char c) {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < s.size(); i = nextCharacter(s, i))
        if (s[i] == c)
            found = i;
    return found;
}

// The form in which names are compared: ASCII letters folded, trail bytes left alone.
std::string foldName(std::string_view name) {
    std::string folded(name);
    for (size_t i = 0; i < folded.size(); i = nextCharacter(folded, i))
        if (folded[i] >= 'A' && folded[i] <= 'Z')
            folded[i] = static_cast<char>(folded[i] + 32);
    return folded;
}

enum class LineKind { blank, section, key, other };

struct ParsedLine {
    LineKind kind = LineKind::other;
    std::string_view name;
    std::string_view value;
};

ParsedLine parseLine(std::string_view text) {
    const std::string_view t = trimBlanks(text);
    if (t.empty())
        return {LineKind::blank, {}, {}};
    if (t.front() == '[') {
        // The name runs to the last ']'; an unclosed header names the rest of the line.
        const std::string_view inner = t.substr(1);
        return {LineKind::section, trimBlanks(inner.substr(0, findLast(inner, ']'))), {}};
    }
    if (t.front() == ';')
        return {LineKind::other, {}, {}};
    const size_t eq = findFirst(t, '=');
    if (eq == std::string_view::npos)
        return {LineKind::other, {}, {}};
    return {LineKind::key, trimBlanks(t.substr(0, eq)), trimBlanks(t.substr(eq + 1))};
}

// One physical line and the line break that ended it, so that the file is rewritten byte for
// byte apart from the lines an edit touches.
struct Line {
    std::string text;
    std::string lineBreak;  // "\r\n", "\r", "\n", or empty for a last line without one
};
using Lines = std::list<Line>;

struct Section {
    Lines::iterator last;  // the header or the last line that is not blank
    std::unordered_map<std::string, Lines::iterator> keys;  // first line of each folded name
};

struct Document {
    native::FileStamp stamp;
    Lines lines;
    std::vector<Section> sections;
    std::unordered_map<std::string, size_t> sectionByName;  // first section of each folded name
    size_t bytes = 0;
    std::uint64_t lastUse = 0;

    void append(Line line) {
        bytes += line.text.size() + line.lineBreak.size();
        lines.push_back(std::move(line));
        const auto it = std::prev(lines.end());
        const ParsedLine parsed = parseLine(it->text);
        switch (parsed.kind) {
            case LineKind::section:
                sectionByName.try_emplace(foldName(parsed.name), sections.size());
                sections.push_back({it, {}});
                break;
            case LineKind::key:
                if (sections.empty())
                    break;  // a key before any section belongs to none
                sections.back().keys.try_emplace(foldName(parsed.name), it);
                sections.back().last = it;
                break;
            case LineKind::other:
                if (!sections.empty())
                    sections.back().last = it;
                break;
            case LineKind::blank:
                break;
        }
    }

    std::string serialize() const {
        std::string out;
        out.reserve(bytes);
        for (const Line& line : lines) {
            out += line.text;
            out += line.lineBreak;
        }
        return out;
    }

    const Line* find(const std::string& foldedSection, const std::string& foldedKey) const {
        const auto section = sectionByName.find(foldedSection);
        if (section == sectionByName.end())
            return nullptr;
        const auto& keys = sections[section->second].keys;
        const auto key = keys.find(foldedKey);
        return key == keys.end() ? nullptr : &*key->second;
    }
};

// Any run of CR and LF ends a line; blank lines between are kept as lines of their own.
std::unique_ptr<Document> parseDocument(std::string_view content) {
    auto doc = std::make_unique<Document>();
    size_t begin = 0;
    while (begin < content.size()) {
        const size_t end = content.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            doc->append({std::string(content.substr(begin)), {}});
            break;
        }
        const size_t breakLength = content.compare(end, 2, kLineBreak) == 0 ? 2 : 1;
        doc->append({std::string(content.substr(begin, end - begin)),
                     std::string(content.substr(end, breakLength))});
        begin = end + breakLength;
    }
    return doc;
}

class Cache {
public:
    enum class State { loaded, missing, unusable };

    // The parsed file, read again only when its stamp differs from the one parsed.
    Document* load(const std::string& path, State* state) {
        native::FileStamp stamp;
        switch (native::fileState(path, &stamp)) {
            case native::FileState::missing:
                *state = State::missing;
                documents_.erase(path);
                return nullptr;
            case native::FileState::other:
                *state = State::unusable;
                documents_.erase(path);
                return nullptr;
            case native::FileState::regular:
                break;
        }
        auto it = documents_.find(path);
        if (it == documents_.end() || it->second->stamp != stamp) {
            const auto content = native::readRegularFile(path, &stamp);
            if (!content) {
                *state = State::unusable;
                documents_.erase(path);
                return nullptr;
            }
            it = store(path, parseDocument(*content), stamp);
        }
        *state = State::loaded;
        it->second->lastUse = ++clock_;
        return it->second.get();
    }

    // Records what our own write left on disk; forgets the file when its stamp cannot be read.
    void wrote(const std::string& path, std::unique_ptr<Document> doc) {
        native::FileStamp stamp;
        if (native::fileState(path, &stamp) != native::FileState::regular) {
            documents_.erase(path);
            return;
        }
        if (doc) {
            store(path, std::move(doc), stamp);
        } else if (auto it = documents_.find(path); it != documents_.end()) {
            it->second->stamp = stamp;
        }
    }

    void forget(const std::string& path) { documents_.erase(path); }

    std::mutex& mutex() { return mutex_; }

private:
    using Map = std::unordered_map<std::string, std::unique_ptr<Document>>;

    Map::iterator store(const std::string& path, std::unique_ptr<Document> doc,
                        const native::FileStamp& stamp) {
        doc->stamp = stamp;
        doc->lastUse = ++clock_;
        auto [it, inserted] = documents_.insert_or_assign(path, std::move(doc));
        if (inserted && documents_.size() > kCachedFiles) {
            auto oldest = documents_.begin();
            for (auto i = documents_.begin(); i != documents_.end(); ++i)
                if (i->second->lastUse < oldest->second->lastUse)
                    oldest = i;
            documents_.erase(oldest);
            it = documents_.find(path);
        }
        return it;
    }

    std::mutex mutex_;
    Map documents_;
    std::uint64_t clock_ = 0;
};

Cache& cache() {
    static Cache instance;
    return instance;
}

bool holdsLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != s.npos;
}

// Applies the edit to the parsed file. False when nothing changes. *reparse is set when the new
// lines would not read back as the section and key written (a name holding '=' or a line
// break), so that the cache is rebuilt from the bytes written.
bool edit(Document& doc, std::string_view section, std::string_view key, std::string_view value,
          bool* reparse) {
    const std::string foldedSection = foldName(section);
    const std::string foldedKey = foldName(key);
    const auto readsBackAs = [&](std::string_view text, LineKind kind, const std::string& name) {
        const ParsedLine parsed = parseLine(text);
        return !holdsLineBreak(text) && parsed.kind == kind && foldName(parsed.name) == name;
    };
    std::string keyLine = std::string(key) + "=" + std::string(value);
    *reparse = !readsBackAs(keyLine, LineKind::key, foldedKey);

    const auto found = doc.sectionByName.find(foldedSection);
    if (found == doc.sectionByName.end()) {
        // A new section goes at the very end, without a blank line before it.
        if (!doc.lines.empty() && doc.lines.back().lineBreak.empty()) {
            doc.lines.back().lineBreak = kLineBreak;
            doc.bytes += kLineBreak.size();
        }
        std::string header = "[" + std::string(section) + "]";
        *reparse = *reparse || !readsBackAs(header, LineKind::section, foldedSection);
        doc.append({std::move(header), std::string(kLineBreak)});
        doc.append({std::move(keyLine), std::string(kLineBreak)});
        return true;
    }

    Section& target = doc.sections[found->second];
    if (const auto existing = target.keys.find(foldedKey); existing != target.keys.end()) {
        // The line is rewritten as name=value under the name as the file spells it.
        Line& line = *existing->second;
        std::string text = std::string(parseLine(line.text).name) + "=" + std::string(value);
        if (text == line.text)
            return false;
        doc.bytes = doc.bytes - line.text.size() + text.size();
        line.text = std::move(text);
        return true;
    }

    // A new key follows the section's last line, before blank lines and the next section.
    Line& last = *target.last;
    if (last.lineBreak.empty()) {
        last.lineBreak = kLineBreak;
        doc.bytes += kLineBreak.size();
    }
    doc.bytes += keyLine.size() + kLineBreak.size();
    const auto it =
        doc.lines.insert(std::next(target.last), {std::move(keyLine), std::string(kLineBreak)});
    target.keys.try_emplace(foldedKey, it);
    target.last = it;
    return true;
}

}  // namespace

void iniWrite(const ByteText& file, const ByteText& section, const ByteText& key,
              const ByteText& value) {
    const std::string_view sectionName = trimBlanks(skipLeadingControl(section.bytes()));
    const std::string_view keyName = trimBlanks(skipLeadingControl(key.bytes()));
    if (sectionName.empty() || keyName.empty())
        return;
    const auto path = nativePath(ByteText(skipLeadingControl(file.bytes())));
    if (!path)
        return;

    Cache& files = cache();
    const std::lock_guard lock(files.mutex());
    Cache::State state = Cache::State::missing;
    Document* doc = files.load(*path, &state);
    if (state == Cache::State::unusable)
        return;
    if (!doc) {
        const std::string content = "[" + std::string(sectionName) + "]\r\n" +
                                    std::string(keyName) + "=" + value.str() + "\r\n";
        if (native::writeAtomically(*path, content))
            files.wrote(*path, parseDocument(content));
        return;
    }
    bool reparse = false;
    if (!edit(*doc, sectionName, keyName, value.bytes(), &reparse))
        return;
    const std::string content = doc->serialize();
    if (!native::writeAtomically(*path, content)) {
        files.forget(*path);  // the edited parse no longer matches the file
        return;
    }
    files.wrote(*path, reparse ? parseDocument(content) : nullptr);
}

ByteText iniRead(const ByteText& file, const ByteText& section, const ByteText& key,
                 const ByteText& defaultValue) {
    const std::string_view fileName = skipLeadingControl(file.bytes());
    const std::string_view sectionName = skipLeadingControl(section.bytes());
    const std::string_view keyName = skipLeadingControl(key.bytes());
    if (fileName.empty() || sectionName.empty() || keyName.empty())
        return {};
    const ByteText fallback(defaultValue.bytes().substr(0, kMaxValueBytes));
    const auto path = nativePath(ByteText(fileName));
    if (!path)
        return fallback;

    Cache& files = cache();
    const std::lock_guard lock(files.mutex());
    Cache::State state = Cache::State::missing;
    const Document* doc = files.load(*path, &state);
    if (!doc)
        return fallback;
    const Line* line = doc->find(foldName(trimBlanks(sectionName)), foldName(trimBlanks(keyName)));
    if (!line)
        return fallback;
    std::string_view value = parseLine(line->text).value;
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\''))
        value = value.substr(1, value.size() - 2);
    return ByteText(value.substr(0, kMaxValueBytes));
}

}  // namespace lumora
