#include "language/colorize.h"

#include <algorithm>
#include <bit>
#include <span>
#include <utility>

#include "shell/options.h"

namespace language {
namespace {

// Aho–Corasick automaton over the UTF-16 code units of all keywords: its state after a text is
// the longest end of the text that begins some keyword, and it tells the longest keyword that
// ends there.
//
// Nodes are numbered breadth first. As many of the first nodes as fit in kRowEntries get a row
// holding their next state for every unit class; a node without a row finds its next node along
// its edges and fallbacks. For keywords of total length K over A distinct code units, n units
// of text take O(n) steps while every node has a row (the built-in keywords need about 36 000
// entries) and O(n log A) at worst; building takes O(K log K) plus the rows; memory is O(K)
// plus the rows.
class KeywordMatcher {
public:
    // The state before any text, and after any unit that no keyword holds.
    static constexpr qint32 kStart = 0;

    explicit KeywordMatcher(const CommandSlots& keywords)
    {
        collectAlphabet(keywords);
        buildTrie(keywords);
        buildMoves();
    }

    // The state after one more unit.
    qint32 next(qint32 state, char16_t unit) const
    {
        const qint32 unitClass = classOf(unit);
        if (unitClass == kUnitInNoKeyword)
            return kStart;
        return state >= 0 ? rows_[state + unitClass] : stateOf(nodeAfter(~state, unitClass));
    }

    // Length of the longest keyword that ends where the state was reached, 0 when none.
    qint32 matchLength(qint32 state) const { return state >= 0 ? rows_[state] : longest_[~state]; }

    // Whether some keyword holds the unit.
    bool holds(char16_t unit) const { return classOf(unit) != kUnitInNoKeyword; }

private:
    static constexpr qint32 kRoot = 0;
    static constexpr qint32 kNone = -1;
    static constexpr qint32 kUnitInNoKeyword = 0;
    static constexpr qsizetype kRowEntries = qsizetype(1) << 20;

    struct Edge {
        qint32 unitClass;
        qint32 target;
    };

    // Units are told apart only as far as the keywords need: class k + 1 is alphabet_[k].
    void collectAlphabet(const CommandSlots& keywords)
    {
        for (const QString& keyword : keywords) {
            for (const QChar character : keyword)
                alphabet_.push_back(character.unicode());
        }
        std::sort(alphabet_.begin(), alphabet_.end());
        alphabet_.erase(std::unique(alphabet_.begin(), alphabet_.end()), alphabet_.end());
        for (std::size_t unit = 0; unit < latin1Class_.size(); ++unit)
            latin1Class_[unit] = searchClass(char16_t(unit));
        classCount_ = qint32(alphabet_.size()) + 1;
    }

    qint32 searchClass(char16_t unit) const
    {
        const auto found = std::lower_bound(alphabet_.begin(), alphabet_.end(), unit);
        return found != alphabet_.end() && *found == unit ? qint32(found - alphabet_.begin()) + 1
                                                          : kUnitInNoKeyword;
    }

    qint32 classOf(char16_t unit) const
    {
        return unit < latin1Class_.size() ? latin1Class_[unit] : searchClass(unit);
    }

    // One depth at a time over all keywords together, so that nodes are numbered breadth first
    // and the edges of each node, sorted by unit, follow those of the nodes before it.
    void buildTrie(const CommandSlots& keywords)
    {
        struct Growing {
            QStringView keyword;
            qint32 node;  // where the part of the keyword built so far ends
        };
        std::vector<Growing> growing;
        for (const QString& keyword : keywords) {
            if (!keyword.isEmpty())
                growing.push_back({keyword, kRoot});
        }
        addNode();
        for (qsizetype depth = 0; !growing.empty(); ++depth) {
            std::sort(growing.begin(), growing.end(), [depth](const Growing& a, const Growing& b) {
                return std::pair(a.node, a.keyword[depth]) < std::pair(b.node, b.keyword[depth]);
            });
            qint32 parent = kNone;
            QChar unit;
            for (Growing& entry : growing) {
                if (entry.node != parent || entry.keyword[depth] != unit) {
                    parent = entry.node;
                    unit = entry.keyword[depth];
                    addEdge(parent, classOf(unit.unicode()));
                }
                entry.node = edges_.back().target;
                if (entry.keyword.size() == depth + 1)
                    longest_[entry.node] = qint32(depth + 1);
            }
            std::erase_if(growing, [depth](const Growing& entry) {
                return entry.keyword.size() == depth + 1;
            });
        }
        firstEdge_.resize(longest_.size() + 1, qint32(edges_.size()));
    }

    qint32 addNode()
    {
        fallback_.push_back(kRoot);
        longest_.push_back(0);
        return qint32(longest_.size()) - 1;
    }

    // Parents come in ascending order, so every node up to this one has its first edge here or
    // before.
    void addEdge(qint32 parent, qint32 unitClass)
    {
        firstEdge_.resize(parent + 1, qint32(edges_.size()));
        edges_.push_back({unitClass, addNode()});
    }

    std::span<const Edge> edgesOf(qint32 node) const
    {
        return std::span(edges_).subspan(firstEdge_[node], firstEdge_[node + 1] - firstEdge_[node]);
    }

    qint32 child(qint32 node, qint32 unitClass) const
    {
        const std::span<const Edge> edges = edgesOf(node);
        const auto edge = std::lower_bound(
            edges.begin(), edges.end(), unitClass,
            [](const Edge& candidate, qint32 wanted) { return candidate.unitClass < wanted; });
        return edge != edges.end() && edge->unitClass == unitClass ? edge->target : kNone;
    }

    qint32 nodeAfter(qint32 node, qint32 unitClass) const
    {
        for (;; node = fallback_[node]) {
            if (const qint32 next = child(node, unitClass); next != kNone)
                return next;
            if (node == kRoot)
                return kRoot;
        }
    }

    // A node with a row is reached as the offset of its row, any other node as its complement.
    qint32 stateOf(qint32 node) const { return node < rowNodes_ ? node * classCount_ : ~node; }

    // In node order, which is breadth first: a node's fallback lies higher, so the fallback,
    // its row and its longest keyword are ready when the node needs them.
    void buildMoves()
    {
        const qint32 nodes = qint32(longest_.size());
        rowNodes_ = qint32(std::clamp<qsizetype>(kRowEntries / classCount_, 1, nodes));
        rows_.resize(std::size_t(rowNodes_) * classCount_, kStart);
        for (qint32 node = 0; node < nodes; ++node) {
            for (const Edge& edge : edgesOf(node)) {
                const qint32 fallback =
                    node == kRoot ? kRoot : nodeAfter(fallback_[node], edge.unitClass);
                fallback_[edge.target] = fallback;
                if (longest_[edge.target] == 0)
                    longest_[edge.target] = longest_[fallback];
            }
            if (node < rowNodes_)
                fillRow(node);
        }
    }

    // A row holds the node's longest keyword, then its next states: those of its fallback,
    // except along its own edges.
    void fillRow(qint32 node)
    {
        const auto row = rows_.begin() + stateOf(node);
        if (node != kRoot)
            std::copy_n(rows_.begin() + stateOf(fallback_[node]), classCount_, row);
        row[0] = longest_[node];
        for (const Edge& edge : edgesOf(node))
            row[edge.unitClass] = stateOf(edge.target);
    }

    std::vector<char16_t> alphabet_;
    std::array<qint32, 256> latin1Class_{};
    qint32 classCount_ = 1;
    std::vector<Edge> edges_;        // the edges of all nodes, in node order, each sorted by class
    std::vector<qint32> firstEdge_;  // the edges of node n are [firstEdge_[n], firstEdge_[n + 1])
    std::vector<qint32> fallback_;   // node of the longest proper suffix that is also a prefix
    std::vector<qint32> longest_;    // longest keyword that is a suffix of the node's prefix
    std::vector<qint32> rows_;       // classCount_ entries for each of the first rowNodes_ nodes
    qint32 rowNodes_ = 1;
};

// Characters [start, end) of the text.
struct Span {
    qsizetype start;
    qsizetype end;
};

// The union of spans added in order of their ends, kept sorted and apart: a new span swallows
// the spans at the back that it overlaps or touches.
class SpanUnion {
public:
    void add(qsizetype start, qsizetype end)
    {
        while (!spans_.empty() && spans_.back().end >= start) {
            start = std::min(start, spans_.back().start);
            spans_.pop_back();
        }
        spans_.push_back({start, end});
    }
    const std::vector<Span>& spans() const { return spans_; }

private:
    std::vector<Span> spans_;
};

bool IsCommentMarker(char16_t unit)
{
    constexpr quint64 kMarkers = 1ull << u'\n' | 1ull << u';' | 1ull << u'/' | 1ull << u'*';
    return (unit < 64) & (kMarkers >> (unit & 63));
}

// A first look at the text, 64 units at a time, for the units that may be part of a keyword
// and the comment markers, so that the matcher and the comment tracker see only those.
class UnitSurvey {
public:
    static constexpr qsizetype kBlockSize = 64;
    struct Block {
        quint64 keywordUnits = 0;  // bit k: unit k of the block may be part of a keyword
        quint64 markers = 0;       // bit k: unit k of the block is a comment marker
    };

    explicit UnitSurvey(const KeywordMatcher& matcher)
    {
        for (std::size_t unit = 0; unit < kinds_.size(); ++unit) {
            kinds_[unit] = quint8(matcher.holds(char16_t(unit)) ? kKeywordUnit : 0)
                           | quint8(IsCommentMarker(char16_t(unit)) ? kMarker : 0);
        }
    }

    Block look(QStringView text, qsizetype blockStart) const
    {
        const QStringView units = text.sliced(blockStart).first(
            std::min(kBlockSize, text.size() - blockStart));
        Block block;
        for (qsizetype k = 0; k < units.size(); ++k) {
            // Units above Latin-1 are left to the matcher itself.
            const char16_t unit = units[k].unicode();
            const quint64 kind = unit < kinds_.size() ? kinds_[unit] : kKeywordUnit;
            block.keywordUnits |= (kind & kKeywordUnit) << k;
            block.markers |= ((kind & kMarker) >> 1) << k;
        }
        return block;
    }

private:
    static constexpr quint8 kKeywordUnit = 1;
    static constexpr quint8 kMarker = 2;

    std::array<quint8, 256> kinds_;
};

template <typename Visit>
void ForEachSetBit(quint64 bits, qsizetype offset, Visit visit)
{
    for (; bits != 0; bits &= bits - 1)
        visit(offset + std::countr_zero(bits));
}

// The matcher fed only the units that may be part of a keyword: a unit skipped in between
// holds no keyword, so the matcher starts afresh after it.
class KeywordTracker {
public:
    explicit KeywordTracker(const KeywordMatcher& matcher) : matcher_(matcher) {}

    // Length of the longest keyword that ends with unit i, 0 when none.
    qint32 matchEndingAt(qsizetype i, char16_t unit)
    {
        state_ = matcher_.next(i == lastFed_ + 1 ? state_ : KeywordMatcher::kStart, unit);
        lastFed_ = i;
        return matcher_.matchLength(state_);
    }

private:
    const KeywordMatcher& matcher_;
    qint32 state_ = KeywordMatcher::kStart;
    qsizetype lastFed_ = -1;
};

// The three kinds of comment, seen marker by marker. Every marker counts, even inside another
// comment: a ";" or "//" runs up to the next line feed, a "/*" through the first "*/" that
// begins after its "/", and either to the end of the text when nothing ends it. An opener
// inside an open comment of its own kind ends where that comment ends, so it adds nothing.
class CommentTracker {
public:
    explicit CommentTracker(QStringView text) : text_(text) {}

    void markerAt(qsizetype i)
    {
        switch (text_[i].unicode()) {
        case u'\n':
            if (lineStart_ != kClosed)
                comments_.add(std::exchange(lineStart_, kClosed), i);
            break;
        case u';':
            if (lineStart_ == kClosed)
                lineStart_ = i;
            break;
        case u'/':
            if (lineStart_ == kClosed && followedBy(i, u'/'))
                lineStart_ = i;
            if (blockStart_ == kClosed && followedBy(i, u'*'))
                blockStart_ = i;
            break;
        case u'*':
            if (blockStart_ != kClosed && followedBy(i, u'/'))
                comments_.add(std::exchange(blockStart_, kClosed), i + 2);
            break;
        }
    }

    const std::vector<Span>& finish()
    {
        for (const qsizetype start : {lineStart_, blockStart_}) {
            if (start != kClosed)
                comments_.add(start, text_.size());
        }
        return comments_.spans();
    }

private:
    static constexpr qsizetype kClosed = -1;

    bool followedBy(qsizetype i, char16_t next) const
    {
        return i + 1 < text_.size() && text_[i + 1] == next;
    }

    QStringView text_;
    qsizetype lineStart_ = kClosed;
    qsizetype blockStart_ = kClosed;
    SpanUnion comments_;
};

// Runs of equal colour over the whole text: comments over keywords over normal text.
class RunWriter {
public:
    explicit RunWriter(const ColorScheme& colors) : colors_(colors) {}

    std::vector<platform::ColorRun> write(qsizetype length, const std::vector<Span>& keywords,
                                          const std::vector<Span>& comments)
    {
        auto keyword = keywords.begin();
        auto comment = comments.begin();
        for (qsizetype at = 0; at < length;) {
            while (keyword != keywords.end() && keyword->end <= at)
                ++keyword;
            while (comment != comments.end() && comment->end <= at)
                ++comment;
            const bool inKeyword = keyword != keywords.end() && keyword->start <= at;
            const bool inComment = comment != comments.end() && comment->start <= at;
            qsizetype next = length;
            if (keyword != keywords.end())
                next = std::min(next, inKeyword ? keyword->end : keyword->start);
            if (comment != comments.end())
                next = std::min(next, inComment ? comment->end : comment->start);
            append(at, next, inComment   ? colors_.comment
                             : inKeyword ? colors_.command
                                         : colors_.normal);
            at = next;
        }
        return std::move(runs_);
    }

private:
    void append(qsizetype start, qsizetype end, platform::Color color)
    {
        if (!runs_.empty() && runs_.back().color == color)
            runs_.back().length += qint32(end - start);
        else
            runs_.push_back({qint32(start), qint32(end - start), color});
    }

    const ColorScheme& colors_;
    std::vector<platform::ColorRun> runs_;
};

}  // namespace

// One sweep finds the keyword occurrences and the comments. Every occurrence lies within the
// longest one that ends where it ends, so only those are kept.
std::vector<platform::ColorRun> ComputeColorRuns(QStringView text, const CommandSlots& keywords,
                                                 const ColorScheme& colors)
{
    const KeywordMatcher matcher(keywords);
    const UnitSurvey survey(matcher);
    KeywordTracker keywordTracker(matcher);
    SpanUnion keywordSpans;
    CommentTracker comments(text);
    for (qsizetype start = 0; start < text.size(); start += UnitSurvey::kBlockSize) {
        const UnitSurvey::Block block = survey.look(text, start);
        ForEachSetBit(block.keywordUnits, start, [&](qsizetype i) {
            if (const qint32 length = keywordTracker.matchEndingAt(i, text[i].unicode()))
                keywordSpans.add(i + 1 - length, i + 1);
        });
        ForEachSetBit(block.markers, start, [&](qsizetype i) { comments.markerAt(i); });
    }
    return RunWriter(colors).write(text.size(), keywordSpans.spans(), comments.finish());
}

void ColorizeScript(platform::RichTextBox& rtfText)
{
    const qint32 saved = rtfText.SelStart();
    const QString text = rtfText.Text();
    if (text.isEmpty() || !(shell::options.SystemFlags & shell::kColoringOn))
        return;
    const auto& textColors = shell::options.TextColors;
    const std::vector<platform::ColorRun> runs = ComputeColorRuns(
        text, CommandTable,
        {textColors[shell::CommandColor], textColors[shell::CommentColor],
         textColors[shell::NormalColor]});
    rtfText.setVisible(false);
    rtfText.ApplyColorRuns(runs);
    rtfText.setSelStart(saved);
    rtfText.setVisible(true);
}

}  // namespace language
