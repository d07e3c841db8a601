#include "language/colorize.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <optional>
#include <span>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    static constexpr qsizetype kStart = 0;

    explicit KeywordMatcher(const CommandSlots& keywords)
    {
        collectAlphabet(keywords);
        buildTrie(keywords);
        buildMoves();
    }

    // The state after one more unit. States are wide so that a row is found without widening.
    qsizetype next(qsizetype state, char16_t unit) const
    {
        const qint32 unitClass = classOf(unit);
        if (unitClass == kUnitInNoKeyword)
            return kStart;
        if (state < 0) [[unlikely]]
            return stateOf(nodeAfter(qint32(~state), unitClass));
        return EntryAt(rows_.data() + unitClass, state);
    }

    // Length of the longest keyword that ends where the state was reached, 0 when none.
    qint32 matchLength(qsizetype state) const
    {
        if (state < 0) [[unlikely]]
            return longest_[~state];
        return EntryAt(rows_.data(), state);
    }

    // Whether some keyword is a single unit.
    bool hasSingleUnitKeyword() const { return hasSingleUnitKeyword_; }

    // The units of all keywords, sorted and each once.
    const std::vector<char16_t>& alphabet() const { return alphabet_; }

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
            hasSingleUnitKeyword_ |= keyword.size() == 1;
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
        if (unit >= latin1Class_.size()) [[unlikely]]
            return searchClass(unit);
        return latin1Class_[unit];
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

    // A node with a row is reached as the offset of its row in bytes, so that a step takes a
    // single load from the start of the unit class's column; any other node as its complement.
    qint32 stateOf(qint32 node) const
    {
        return node < rowNodes_ ? node * classCount_ * qint32(sizeof(qint32)) : ~node;
    }

    static qint32 EntryAt(const qint32* column, qsizetype byteOffset)
    {
        return *reinterpret_cast<const qint32*>(reinterpret_cast<const char*>(column) + byteOffset);
    }

    std::vector<qint32>::iterator rowOf(qint32 node)
    {
        return rows_.begin() + std::ptrdiff_t(node) * classCount_;
    }

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
        const auto row = rowOf(node);
        if (node != kRoot)
            std::copy_n(rowOf(fallback_[node]), classCount_, row);
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
    bool hasSingleUnitKeyword_ = false;
};

// What a block of the text holds: bit k of each mask stands for unit k of the block.
struct Block {
    static constexpr qsizetype kSize = 64;
    quint64 keywordUnits = 0;  // units that may be part of a keyword
    quint64 lineFeeds = 0;
    quint64 semicolons = 0;
    quint64 slashes = 0;
    quint64 stars = 0;
};

// The units that the comments are made of, in the order of Block's masks after keywordUnits.
constexpr std::array<char16_t, 4> kCommentUnits = {u'\n', u';', u'/', u'*'};

// The survey one unit at a time through a table of the Latin-1 units. Serves any keyword
// alphabet: units above Latin-1 are all taken as possible parts of a keyword, and the matcher
// sorts them out.
class TableSurvey {
public:
    explicit TableSurvey(std::span<const char16_t> alphabet)
    {
        for (std::size_t unit = 0; unit < kinds_.size(); ++unit) {
            kinds_[unit] = std::binary_search(alphabet.begin(), alphabet.end(), unit) ? 1 : 0;
            for (std::size_t marker = 0; marker < kCommentUnits.size(); ++marker) {
                if (unit == kCommentUnits[marker])
                    kinds_[unit] |= quint8(2 << marker);
            }
        }
    }

    Block look(const char16_t* units) const
    {
        Block block;
        for (qsizetype k = 0; k < Block::kSize; ++k) {
            const quint64 kind = units[k] < kinds_.size() ? kinds_[units[k]] : 1;
            block.keywordUnits |= (kind & 1) << k;
            block.lineFeeds |= (kind >> 1 & 1) << k;
            block.semicolons |= (kind >> 2 & 1) << k;
            block.slashes |= (kind >> 3 & 1) << k;
            block.stars |= (kind >> 4 & 1) << k;
        }
        return block;
    }

private:
    // Bit 0: the unit may be part of a keyword; bit 1 + m: the unit is kCommentUnits[m].
    std::array<quint8, 256> kinds_;
};

#if defined(__SSE2__)
// The survey sixteen units at a time, for keyword alphabets of a few ranges of consecutive
// units between 0x01 and 0xFE (the built-in keywords need four: "#", "3", "A" to "Z", "_").
// The units are narrowed to bytes with unsigned saturation, which keeps every unit up to 0xFF
// and turns every other unit into 0x00 or 0xFF, which neither the alphabet nor the comments
// hold. A byte b lies in the range [low, low + span] when b - low, wrapped to a byte, is at
// most span: when taking span from it with saturation leaves zero.
class ByteRangeSurvey {
public:
    static constexpr std::size_t kMaxRanges = 8;

    // Nothing when the alphabet reaches beyond 0x01 to 0xFE or needs more than kMaxRanges
    // ranges.
    static std::optional<ByteRangeSurvey> For(std::span<const char16_t> alphabet)
    {
        if (!alphabet.empty() && (alphabet.front() < 0x01 || alphabet.back() > 0xFE))
            return std::nullopt;
        ByteRangeSurvey survey;
        for (std::size_t first = 0, next; first < alphabet.size(); first = next) {
            for (next = first + 1;
                 next < alphabet.size() && alphabet[next] == alphabet[next - 1] + 1; ++next) {
            }
            if (survey.ranges_.size() == kMaxRanges)
                return std::nullopt;
            survey.ranges_.push_back({Broadcast(alphabet[first]),
                                      Broadcast(alphabet[next - 1] - alphabet[first])});
        }
        return survey;
    }

    Block look(const char16_t* units) const
    {
        const Parts bytes = {Narrow(units), Narrow(units + 16), Narrow(units + 32),
                             Narrow(units + 48)};
        const auto equal = [&bytes](char16_t unit) {
            const __m128i wanted = Broadcast(unit);
            return BitsOf(Map(bytes, [wanted](__m128i part) {
                return _mm_cmpeq_epi8(part, wanted);
            }));
        };
        return {keywordUnits(bytes), equal(kCommentUnits[0]), equal(kCommentUnits[1]),
                equal(kCommentUnits[2]), equal(kCommentUnits[3])};
    }

private:
    // A block in four parts of sixteen units, each narrowed to sixteen bytes; spelt out, for
    // the compiler to keep them in registers.
    struct Parts {
        __m128i first, second, third, fourth;
    };

    template <typename Function>
    static Parts Map(const Parts& parts, Function function)
    {
        return {function(parts.first), function(parts.second), function(parts.third),
                function(parts.fourth)};
    }

    // One bit per byte that is all ones.
    static quint64 BitsOf(const Parts& found)
    {
        const auto bits = [](__m128i part) { return quint64(quint16(_mm_movemask_epi8(part))); };
        return bits(found.first) | bits(found.second) << 16 | bits(found.third) << 32
               | bits(found.fourth) << 48;
    }

    struct Range {
        __m128i low;
        __m128i span;
    };

    static __m128i Broadcast(int byte) { return _mm_set1_epi8(char(byte)); }

    static __m128i Narrow(const char16_t* units)
    {
        return _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(units)),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + 8)));
    }

    // The bytes that lie in some range: the least of what each range leaves is zero.
    quint64 keywordUnits(const Parts& bytes) const
    {
        Parts least = Map(bytes, [](__m128i) { return Broadcast(0xFF); });
        for (const Range& range : ranges_) {
            const Parts beyond = Map(bytes, [&range](__m128i part) {
                return _mm_subs_epu8(_mm_sub_epi8(part, range.low), range.span);
            });
            least = {_mm_min_epu8(least.first, beyond.first),
                     _mm_min_epu8(least.second, beyond.second),
                     _mm_min_epu8(least.third, beyond.third),
                     _mm_min_epu8(least.fourth, beyond.fourth)};
        }
        return BitsOf(
            Map(least, [](__m128i part) { return _mm_cmpeq_epi8(part, _mm_setzero_si128()); }));
    }

    std::vector<Range> ranges_;
};
#endif

// A first look at the text, a block at a time, so that the matcher sees only the units that
// may be part of a keyword, and the comment tracker only the units that comments are made of.
class UnitSurvey {
public:
    explicit UnitSurvey(std::span<const char16_t> alphabet)
        : table_(alphabet)
#if defined(__SSE2__)
        , byteRanges_(ByteRangeSurvey::For(alphabet))
#endif
    {
    }

    // The block of the text from blockStart, which may run short at the end of the text.
    Block look(QStringView text, qsizetype blockStart) const
    {
        const char16_t* units = text.utf16() + blockStart;
        const qsizetype count = text.size() - blockStart;
        if (count >= Block::kSize)
            return lookAt(units);
        std::array<char16_t, Block::kSize> padded{};
        std::copy_n(units, count, padded.begin());
        Block block = lookAt(padded.data());
        const quint64 inText = (quint64(1) << count) - 1;
        for (quint64* mask : {&block.keywordUnits, &block.lineFeeds, &block.semicolons,
                              &block.slashes, &block.stars})
            *mask &= inText;
        return block;
    }

private:
    Block lookAt(const char16_t* units) const
    {
#if defined(__SSE2__)
        if (byteRanges_)
            return byteRanges_->look(units);
#endif
        return table_.look(units);
    }

    TableSurvey table_;
#if defined(__SSE2__)
    std::optional<ByteRangeSurvey> byteRanges_;
#endif
};

template <typename Visit>
void ForEachSetBit(quint64 bits, Visit visit)
{
    for (; bits != 0; bits &= bits - 1)
        visit(std::countr_zero(bits));
}

// The bits above bit k.
quint64 BitsAbove(int k)
{
    return ~((quint64(2) << k) - 1);
}

// One bit per unit of the text, in words of one block each.
class UnitBits {
public:
    explicit UnitBits(qsizetype units) : words_((units + Block::kSize - 1) / Block::kSize) {}

    quint64 word(qsizetype index) const { return words_[index]; }
    void addToWord(qsizetype index, quint64 bits) { words_[index] |= bits; }

    // Sets the bits of units [start, end).
    void set(qsizetype start, qsizetype end)
    {
        while (start < end) {
            const qsizetype stop = std::min(end, (start | (Block::kSize - 1)) + 1);
            words_[start / Block::kSize] |= ~quint64(0) >> (Block::kSize - (stop - start))
                                            << start % Block::kSize;
            start = stop;
        }
    }

private:
    std::vector<quint64> words_;
};

// The matcher fed only the units that may be part of a keyword: a unit skipped in between
// holds no keyword, so the matcher starts afresh after it. Marks, for every unit, the longest
// keyword that ends with it: it holds all the others that do.
class KeywordTracker {
public:
    KeywordTracker(const KeywordMatcher& matcher, QStringView text, UnitBits& keywords)
        : matcher_(matcher), text_(text), keywords_(keywords)
    {
    }

    // The keywords that end in the block are gathered in a word of their own; only those that
    // begin in an earlier block are written at once.
    void feed(quint64 keywordUnits, qsizetype blockStart)
    {
        // Bit k: unit k follows a unit the matcher was fed, so the matcher goes on. As a mask
        // rather than a choice, for which units follow on is hard to predict.
        const quint64 goesOn = keywordUnits << 1 | lastUnitFed_;
        const char16_t* const units = text_.utf16() + blockStart;
        qsizetype state = state_;
        quint64 inBlock = 0;
        ForEachSetBit(unitsToFeed(keywordUnits, goesOn), [&](int k) {
            static_assert(KeywordMatcher::kStart == 0);
            state = matcher_.next(state & -qsizetype(goesOn >> k & 1), units[k]);
            const qint32 length = matcher_.matchLength(state);
            const quint64 throughUnit = ~quint64(0) >> (Block::kSize - 1 - k);
            if (length <= k) [[likely]]
                inBlock |= throughUnit & ~(throughUnit >> length);
            else
                keywords_.set(blockStart + k + 1 - length, blockStart + k + 1);
        });
        state_ = state;
        lastUnitFed_ = keywordUnits >> (Block::kSize - 1);
        keywords_.addToWord(blockStart / Block::kSize, inBlock);
    }

private:
    // A unit alone between units that no keyword holds can only be a keyword by itself. The
    // last unit of the block is always fed, for the state to carry over into the next block.
    quint64 unitsToFeed(quint64 keywordUnits, quint64 goesOn) const
    {
        if (matcher_.hasSingleUnitKeyword())
            return keywordUnits;
        const quint64 alone = keywordUnits & ~goesOn & ~(keywordUnits >> 1);
        return keywordUnits & ~(alone & ~(quint64(1) << (Block::kSize - 1)));
    }

    const KeywordMatcher& matcher_;
    QStringView text_;
    UnitBits& keywords_;
    qsizetype state_ = KeywordMatcher::kStart;
    quint64 lastUnitFed_ = 0;
};

// The three kinds of comment, opener by opener. A ";" or "//" runs up to the next line feed, a
// "/*" through the first "*/" that begins after its "/", and either to the end of the text when
// nothing ends it. An opener inside an open comment of its own kind ends where that comment
// ends, so only the first opener after a comment's end opens a new one.
class CommentTracker {
public:
    CommentTracker(QStringView text, UnitBits& comments) : text_(text), comments_(comments) {}

    void look(const Block& block, qsizetype blockStart)
    {
        // Bit k: the unit after unit k is a slash, or a star.
        const char16_t after = unitAt(blockStart + Block::kSize);
        const quint64 slashAfter = block.slashes >> 1 | quint64(after == u'/') << 63;
        const quint64 starAfter = block.stars >> 1 | quint64(after == u'*') << 63;
        track(lineStart_, block.semicolons | (block.slashes & slashAfter), block.lineFeeds, 0,
              blockStart);
        track(blockStart_, block.slashes & starAfter, block.stars & slashAfter, 2, blockStart);
    }

    void finish()
    {
        for (const qsizetype start : {lineStart_, blockStart_}) {
            if (start != kClosed)
                comments_.set(start, text_.size());
        }
    }

private:
    static constexpr qsizetype kClosed = -1;

    char16_t unitAt(qsizetype i) const { return i < text_.size() ? text_[i].unicode() : 0; }

    // One kind of comment through the block: it opens at the first opener while closed and
    // closes at the first closer after that, closerLength units on from the closer's start.
    void track(qsizetype& start, quint64 openers, quint64 closers, int closerLength,
               qsizetype blockStart)
    {
        for (;;) {
            if (start == kClosed) {
                if (openers == 0)
                    return;
                const int opener = std::countr_zero(openers);
                start = blockStart + opener;
                closers &= BitsAbove(opener);
            }
            if (closers == 0)
                return;
            const int closer = std::countr_zero(closers);
            comments_.set(std::exchange(start, kClosed), blockStart + closer + closerLength);
            openers &= BitsAbove(closer);
        }
    }

    QStringView text_;
    UnitBits& comments_;
    qsizetype lineStart_ = kClosed;
    qsizetype blockStart_ = kClosed;
};

// Runs of equal colour over the whole text: comments over keywords over normal text. The unit
// before the text counts as normal text, so a run ends wherever a unit's colour differs from
// the one before.
class RunWriter {
public:
    explicit RunWriter(const ColorScheme& colors)
        : colorOf_{colors.normal, colors.command, colors.comment, colors.comment},
          color_(colors.normal)
    {
    }

    // Every run but the last ends where the colour changes, so counting the changes first
    // lets the runs be written once, never moved by the vector growing.
    std::vector<platform::ColorRun> write(qsizetype length, const UnitBits& keywords,
                                          const UnitBits& comments)
    {
        qsizetype changeCount = 0;
        ForEachBlock(length, keywords, comments, [&](qsizetype, const Changes& block) {
            changeCount += std::popcount(block.changes);
        });
        runs_.reserve(changeCount + 1);
        ForEachBlock(length, keywords, comments, [&](qsizetype start, const Changes& block) {
            ForEachSetBit(block.changes, [&](int k) {
                colorFrom(start + k,
                          colorOf_[(block.comment >> k & 1) << 1 | (block.keyword >> k & 1)]);
            });
        });
        colorFrom(length, ~color_);
        return std::move(runs_);
    }

private:
    // The final bits of a block's units, and the units whose bits differ from the unit's before.
    struct Changes {
        quint64 keyword;
        quint64 comment;
        quint64 changes;
    };

    template <typename Visit>
    static void ForEachBlock(qsizetype length, const UnitBits& keywords, const UnitBits& comments,
                             Visit visit)
    {
        quint64 keywordBefore = 0;  // the bit of the unit before the block, at bit 0
        quint64 commentBefore = 0;
        for (qsizetype start = 0; start < length; start += Block::kSize) {
            const qsizetype index = start / Block::kSize;
            const quint64 comment = comments.word(index);
            const quint64 keyword = keywords.word(index) & ~comment;
            quint64 changes = (comment ^ (comment << 1 | commentBefore))
                              | (keyword ^ (keyword << 1 | keywordBefore));
            if (length - start < Block::kSize)
                changes &= (quint64(1) << (length - start)) - 1;
            visit(start, Changes{keyword, comment, changes});
            keywordBefore = keyword >> (Block::kSize - 1);
            commentBefore = comment >> (Block::kSize - 1);
        }
    }

    // Ends the run so far, if any, where a unit of another colour begins.
    void colorFrom(qsizetype at, platform::Color color)
    {
        if (color == color_)
            return;
        if (at > start_)
            runs_.push_back({qint32(start_), qint32(at - start_), color_});
        start_ = at;
        color_ = color;
    }

    // By comment bit and keyword bit.
    std::array<platform::Color, 4> colorOf_;
    std::vector<platform::ColorRun> runs_;
    qsizetype start_ = 0;
    platform::Color color_;
};

// The matcher and the survey for one keyword table. Building them takes longer than colouring
// a small script, and the table does not change after start-up, so the last ones built are kept.
struct KeywordScanner {
    explicit KeywordScanner(const CommandSlots& keywords)
        : matcher(keywords), survey(matcher.alphabet())
    {
    }
    KeywordMatcher matcher;
    UnitSurvey survey;
};

const KeywordScanner& ScannerFor(const CommandSlots& keywords)
{
    thread_local CommandSlots builtFor;
    thread_local std::unique_ptr<const KeywordScanner> scanner;
    if (!scanner || keywords != builtFor) {
        scanner = std::make_unique<const KeywordScanner>(keywords);
        builtFor = keywords;
    }
    return *scanner;
}

}  // namespace

// One sweep over the text marks the units in keywords and in comments.
std::vector<platform::ColorRun> ComputeColorRuns(QStringView text, const CommandSlots& keywords,
                                                 const ColorScheme& colors)
{
    const KeywordScanner& scanner = ScannerFor(keywords);
    UnitBits keywordUnits(text.size());
    UnitBits commentUnits(text.size());
    KeywordTracker keywordTracker(scanner.matcher, text, keywordUnits);
    CommentTracker commentTracker(text, commentUnits);
    // Blocks are surveyed a batch at a time, so that each of the three loops stays small and
    // hot while it runs.
    std::array<Block, 64> batch;
    constexpr qsizetype kBatchUnits = Block::kSize * qsizetype(batch.size());
    for (qsizetype first = 0; first < text.size(); first += kBatchUnits) {
        const qsizetype count = (std::min(text.size() - first, kBatchUnits) + Block::kSize - 1)
                                / Block::kSize;
        for (qsizetype b = 0; b < count; ++b)
            batch[b] = scanner.survey.look(text, first + b * Block::kSize);
        for (qsizetype b = 0; b < count; ++b)
            keywordTracker.feed(batch[b].keywordUnits, first + b * Block::kSize);
        for (qsizetype b = 0; b < count; ++b)
            commentTracker.look(batch[b], first + b * Block::kSize);
    }
    commentTracker.finish();
    return RunWriter(colors).write(text.size(), keywordUnits, commentUnits);
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
