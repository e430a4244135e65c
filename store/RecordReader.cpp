#include "store/Components.h"
#include "store/Record.h"
#include "store/StreamError.h"

#include <array>
#include <optional>

namespace tolm::store {

namespace {

// The two classes read in this store. A file's first record is read as the
// font dialog and the others as items, whatever class they name, so each
// property is judged by the reader of the class the record names and, when
// that one refuses it, by the other: what the other takes is left for the
// reader that is finally applied to judge.
enum class Reader { None, SpButton, FontDialog };

Reader readerFor(std::string_view className)
{
    return className == "TSpButton"  ? Reader::SpButton
        : className == "TFontDialog" ? Reader::FontDialog
                                     : Reader::None;
}

Reader otherOf(Reader reader)
{
    return reader == Reader::SpButton ? Reader::FontDialog : Reader::SpButton;
}

// Whether a reader takes a property, tried on a state of its own. Made on
// first use: most records never need one.
class Scratch {
public:
    bool accepts(Reader reader, std::string_view name, const ValueView& value, std::string* error)
    {
        try {
            if (reader == Reader::SpButton)
                applySpButtonProperty(m_item ? *m_item : m_item.emplace(), name, value);
            else
                applyFontDialogProperty(m_dialog ? *m_dialog : m_dialog.emplace(), name, value);
            return true;
        } catch (const StreamError& e) {
            if (error)
                *error = e.what();
            return false;
        }
    }

private:
    std::optional<SpButtonState> m_item;
    std::optional<FontDialogState> m_dialog;
};

// The members of the set being read, as views into the data. Sets of our
// own hold at most sixteen members; a longer one spills onto the heap.
class Members {
public:
    void clear()
    {
        m_size = 0;
        m_more.clear();
    }
    void push(std::string_view member)
    {
        if (m_size < m_inline.size()) {
            m_inline[m_size++] = member;
            return;
        }
        if (m_more.empty())
            m_more.assign(m_inline.begin(), m_inline.end());
        m_more.push_back(member);
    }
    std::span<const std::string_view> all() const
    {
        if (!m_more.empty())
            return m_more;
        return { m_inline.data(), m_size };
    }

private:
    std::array<std::string_view, 16> m_inline;
    std::size_t m_size { 0 };
    std::vector<std::string_view> m_more;
};

// Reads a record either into a Record (every property judged as it is read)
// or straight into the state of one reader, as if that reader were applied
// to the Record afterwards: a property the target refuses but the other
// reader takes does not stop the walk, since a later malformed byte would
// have stopped the Record first; it is raised when the walk ends.
class RecordReader : public RecordVisitor {
public:
    // Builds `record`.
    RecordReader(Record& record, std::vector<std::size_t>* offsets)
        : m_record(&record)
        , m_offsets(offsets)
    { }
    // Applies every property to `item`.
    explicit RecordReader(SpButtonState& item)
        : m_target(Reader::SpButton)
        , m_item(&item)
    { }
    // Applies every property to `dialog`.
    explicit RecordReader(FontDialogState& dialog)
        : m_target(Reader::FontDialog)
        , m_dialog(&dialog)
    { }

    void finish() const
    {
        if (m_pending)
            throw *m_pending;
    }

    void head(std::string_view className, std::string_view name, std::size_t) override
    {
        m_class = readerFor(className);
        if (m_record) {
            cp1252ToUtf8(className, m_record->className);
            cp1252ToUtf8(name, m_record->name);
            m_record->properties.reserve(16);
        } else if (m_item) {
            cp1252ToUtf8(name, m_item->name);
        } else {
            cp1252ToUtf8(name, m_dialog->name);
        }
    }

    void property(std::string_view name, std::size_t at) override
    {
        if (m_properties == kMaxProperties)
            throw StreamError(kInvalidStreamFormat, at);
        ++m_properties;
        m_name = name;
        m_propertyAt = at;
        if (m_offsets)
            m_offsets->push_back(at);
        if (m_record)
            cp1252ToUtf8(name, m_record->properties.emplace_back().name);
    }

    void value(const ValueView& value, std::size_t at) override
    {
        if (m_depth == 0) {
            if (m_record)
                value.assignTo(current().value);
            judge(value);
            return;
        }
        count(at);
        if (m_record)
            value.assignTo(m_open.back()->items.emplace_back());
    }

    void begin(ValueTag tag, std::size_t at) override
    {
        if (m_depth == m_tags.size())
            throw StreamError(kInvalidStreamFormat, at); // deeper than the walker lets through
        if (m_depth > 0)
            count(at);
        if (m_record) {
            Value& v = m_depth == 0 ? current().value : m_open.back()->items.emplace_back();
            v.tag = tag;
            m_open.push_back(&v);
        }
        m_tags[m_depth++] = tag;
        if (m_depth == 1) {
            // Offered empty: a property that cannot hold a list refuses it
            // before a single element is read.
            m_members.clear();
            ValueView empty;
            empty.tag = tag;
            judge(empty);
        }
    }

    void member(std::string_view name, std::size_t at) override
    {
        count(at);
        const bool set = m_tags[m_depth - 1] == ValueTag::Set;
        if (m_record) {
            Value& open = *m_open.back();
            if (set)
                open.set.push_back(cp1252ToUtf8(name));
            else
                open.items.push_back(Value::ident(cp1252ToUtf8(name)));
        }
        if (!set || m_depth != 1)
            return;
        m_members.push(name);
        if (m_class != Reader::None) {
            // Each member is offered on its own as it is read, so that a set
            // of thousands of unknown members stops at the first.
            ValueView one;
            one.tag = ValueTag::Set;
            one.members = { &name, 1 };
            judge(one);
        }
    }

    void end() override
    {
        if (m_record)
            m_open.pop_back();
        if (--m_depth > 0)
            return;
        ValueView whole;
        whole.tag = m_tags[0];
        whole.members = m_members.all();
        judge(whole);
    }

private:
    Record* m_record { nullptr };
    std::vector<std::size_t>* m_offsets { nullptr };
    Reader m_target { Reader::None };
    SpButtonState* m_item { nullptr };
    FontDialogState* m_dialog { nullptr };

    Reader m_class { Reader::None };
    Scratch m_scratch;
    std::optional<StreamError> m_pending;
    std::size_t m_properties { 0 };
    std::size_t m_elements { 0 };
    std::string_view m_name; // of the property being read
    std::size_t m_propertyAt { 0 };
    // The tags of the open List, Set or Collection values and elements,
    // outermost first: at most one List and one element per nesting level,
    // and a Set innermost.
    std::array<ValueTag, 2 * kMaxValueDepth + 2> m_tags {};
    std::size_t m_depth { 0 };
    Members m_members; // of a property's set
    // The values being built for m_tags. Only the innermost grows, so the
    // pointers stay good.
    std::vector<Value*> m_open;

    Property& current() { return m_record->properties.back(); }

    void count(std::size_t at)
    {
        if (++m_elements > kMaxElements)
            throw StreamError(kInvalidStreamFormat, at);
    }

    bool applyToTarget(const ValueView& value, std::string& error)
    {
        try {
            if (m_item)
                applySpButtonProperty(*m_item, m_name, value);
            else
                applyFontDialogProperty(*m_dialog, m_name, value);
            return true;
        } catch (const StreamError& e) {
            error = e.what();
            return false;
        }
    }

    void judge(const ValueView& value)
    {
        std::string error;
        if (m_target == Reader::None) {
            if (m_class == Reader::None || m_scratch.accepts(m_class, m_name, value, &error)
                || m_scratch.accepts(otherOf(m_class), m_name, value, nullptr))
                return;
            throw StreamError(error, m_propertyAt);
        }
        if (applyToTarget(value, error))
            return;
        if (m_class != Reader::None) {
            std::string otherError;
            if (!m_scratch.accepts(otherOf(m_target), m_name, value, &otherError))
                throw StreamError(m_class == m_target ? error : otherError, m_propertyAt);
        }
        if (!m_pending)
            m_pending.emplace(error, m_propertyAt);
    }
};

template <typename State> State readState(std::span<const std::uint8_t> data, std::size_t& pos)
{
    State state;
    RecordReader reader(state);
    std::size_t at = pos;
    walkRecord(data, at, reader);
    reader.finish();
    pos = at;
    return state;
}

} // namespace

Record readRecord(std::span<const std::uint8_t> data, std::size_t& pos)
{
    return readRecord(data, pos, nullptr);
}

Record readRecord(
    std::span<const std::uint8_t> data, std::size_t& pos, std::vector<std::size_t>* propertyOffsets)
{
    Record record;
    RecordReader reader(record, propertyOffsets);
    walkRecord(data, pos, reader);
    return record;
}

SpButtonState readSpButton(std::span<const std::uint8_t> data, std::size_t& pos)
{
    return readState<SpButtonState>(data, pos);
}

FontDialogState readFontDialog(std::span<const std::uint8_t> data, std::size_t& pos)
{
    return readState<FontDialogState>(data, pos);
}

} // namespace tolm::store
