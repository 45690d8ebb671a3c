#include "project/Allocator.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Trace.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::int64_t kAreaSize = kAllocLimit - kAllocBase;
constexpr std::int64_t kGranule = 16;
// The sprite-placement writer keeps its pointer tables and object lists here, unrecorded.
constexpr std::int64_t kReservedStart = 0x500000;
constexpr std::int64_t kReservedEnd = 0x520000;

struct Block {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

std::int64_t AlignUp(std::int64_t value, std::int64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

std::int64_t AlignDown(std::int64_t value, std::int64_t alignment) {
    return value / alignment * alignment;
}

constexpr std::int64_t kBankSize = 0x10000;
constexpr std::int64_t kHalfBank = 0x8000;

bool InHalf(std::int64_t start, BankHalf half) {
    switch (half) {
        case BankHalf::Lower:
            return (start & kHalfBank) == 0;
        case BankHalf::Upper:
            return (start & kHalfBank) != 0;
        case BankHalf::Any:
            break;
    }
    return true;
}

class Placement {
public:
    Placement(const AllocTable& table, std::int64_t base, std::int64_t size, std::int64_t alignment,
              BankHalf half)
        : base_(base),
          limit_(std::min<std::int64_t>(base + kAreaSize, kAllocLimit)),
          size_(size),
          alignment_(alignment),
          half_(half) {
        for (const AllocEntry& e : table) {
            if (e.address != 0) {
                used_.push_back({e.address, std::int64_t{e.address} + e.size});
            }
        }
        byAddress_ = used_;
        std::stable_sort(byAddress_.begin(), byAddress_.end(),
                         [](const Block& a, const Block& b) { return a.start < b.start; });
    }

    // Visits the used entries in table order and takes the first place beside one of them: after
    // the entry, then before it. A gap between two blocks must be larger than the request; the
    // space at either end of the area may be filled exactly.
    std::optional<std::int64_t> Find() const {
        if (used_.empty()) {
            return Accept(Up(base_));
        }
        for (const Block& k : used_) {
            const Block* higher = Higher(k.start);
            const Block* lower = Lower(k.start);
            const std::int64_t after = Up(k.end);
            if (higher == nullptr ? after + size_ <= limit_ : after + size_ < higher->start) {
                if (auto place = Accept(after)) {
                    return place;
                }
            }
            if (lower != nullptr) {
                const std::int64_t before = Up(lower->end);
                if (before + size_ < k.start) {
                    if (auto place = Accept(before)) {
                        return place;
                    }
                }
            } else {
                const std::int64_t before = Down(k.start - size_);
                if (before >= base_) {
                    if (auto place = Accept(before)) {
                        return place;
                    }
                }
            }
        }
        // Beside the area's ends and the reserved range, for when every place next to a block
        // was refused (it met the reserved range, or the table was inconsistent).
        if (auto place = Accept(Up(base_))) {
            return place;
        }
        return Accept(Up(kReservedEnd));
    }

private:
    // The first start at or above `value` that the alignment and the bank half allow.
    std::int64_t Up(std::int64_t value) const {
        value = AlignUp(value, alignment_);
        if (!InHalf(value, half_)) {
            value = half_ == BankHalf::Upper ? AlignDown(value, kBankSize) + kHalfBank
                                             : AlignUp(value, kBankSize);
            value = AlignUp(value, alignment_);
        }
        return value;
    }
    // The last start at or below `value` that they allow.
    std::int64_t Down(std::int64_t value) const {
        value = AlignDown(value, alignment_);
        if (!InHalf(value, half_)) {
            value = half_ == BankHalf::Upper ? AlignDown(value, kBankSize) - kGranule
                                             : AlignDown(value, kBankSize) + kHalfBank - kGranule;
            value = AlignDown(value, alignment_);
        }
        return value;
    }

    // The used entry with the smallest start above `address`, the lowest index among equals.
    const Block* Higher(std::int64_t address) const {
        const auto it =
            std::upper_bound(byAddress_.begin(), byAddress_.end(), address,
                             [](std::int64_t value, const Block& b) { return value < b.start; });
        return it == byAddress_.end() ? nullptr : &*it;
    }
    // The used entry with the largest start below `address`, the lowest index among equals.
    const Block* Lower(std::int64_t address) const {
        auto it =
            std::lower_bound(byAddress_.begin(), byAddress_.end(), address,
                             [](const Block& b, std::int64_t value) { return b.start < value; });
        if (it == byAddress_.begin()) {
            return nullptr;
        }
        const std::int64_t start = std::prev(it)->start;
        it = std::lower_bound(byAddress_.begin(), it, start,
                              [](const Block& b, std::int64_t value) { return b.start < value; });
        return &*it;
    }

    // A place is taken only when it lies wholly inside the area, meets no used block and not
    // the reserved range, whatever the table holds.
    std::optional<std::int64_t> Accept(std::int64_t start) const {
        const std::int64_t end = start + size_;
        if (start < base_ || end > limit_ || start % alignment_ != 0 || !InHalf(start, half_)) {
            return std::nullopt;
        }
        if (start < kReservedEnd && end > kReservedStart) {
            return std::nullopt;
        }
        for (const Block& b : used_) {
            if (start < b.end && end > b.start) {
                return std::nullopt;
            }
        }
        return start;
    }

    std::int64_t base_;
    std::int64_t limit_;
    std::int64_t size_;
    std::int64_t alignment_;
    BankHalf half_;
    std::vector<Block> used_;       // table order
    std::vector<Block> byAddress_;  // address order, table order among equal addresses
};

// The used entries' blocks in address order.
std::vector<Block> UsedByAddress(const AllocTable& table) {
    std::vector<Block> used;
    for (const AllocEntry& e : table) {
        if (e.address != 0) {
            used.push_back({e.address, std::int64_t{e.address} + e.size});
        }
    }
    std::sort(used.begin(), used.end(),
              [](const Block& a, const Block& b) { return a.start < b.start; });
    return used;
}

// Joins neighbouring blocks (disjoint, in address order) across the smallest gaps first until
// at most `count` entries remain, so that the fewest free bytes are lost; never two blocks whose
// tags `marked` names go into one entry. A joined entry keeps the marked tag it holds, else 0.
std::vector<AllocEntry> MergedNeighbours(const std::vector<AllocEntry>& blocks, std::size_t count,
                                         const std::function<bool(std::uint32_t)>& marked) {
    const std::size_t n = blocks.size();
    const auto end = [&](std::size_t i) {
        return std::int64_t{blocks[i].address} + blocks[i].size;
    };
    // A run of joined blocks i..j keeps, at both of its ends, the other end and its marks.
    std::vector<std::size_t> otherEnd(n);
    std::vector<int> marks(n);
    for (std::size_t i = 0; i < n; ++i) {
        otherEnd[i] = i;
        marks[i] = marked && blocks[i].tag != 0 && marked(blocks[i].tag) ? 1 : 0;
    }
    std::vector<std::size_t> gaps(n == 0 ? 0 : n - 1);
    for (std::size_t i = 0; i < gaps.size(); ++i) {
        gaps[i] = i;
    }
    std::stable_sort(gaps.begin(), gaps.end(), [&](std::size_t a, std::size_t b) {
        return blocks[a + 1].address - end(a) < blocks[b + 1].address - end(b);
    });
    std::size_t runs = n;
    for (const std::size_t g : gaps) {
        if (runs <= count) {
            break;
        }
        const std::size_t first = otherEnd[g];
        const std::size_t last = otherEnd[g + 1];
        if (marks[first] + marks[last] > 1) {
            continue;
        }
        otherEnd[first] = last;
        otherEnd[last] = first;
        marks[first] = marks[last] = marks[first] + marks[last];
        --runs;
    }
    std::vector<AllocEntry> merged;
    for (std::size_t i = 0; i < n; i = otherEnd[i] + 1) {
        const std::size_t last = otherEnd[i];
        AllocEntry entry{blocks[i].address,
                         static_cast<std::uint32_t>(end(last) - blocks[i].address),
                         i == last ? blocks[i].tag : 0};
        for (std::size_t k = i; k <= last && i != last; ++k) {
            if (marks[i] != 0 && blocks[k].tag != 0 && marked(blocks[k].tag)) {
                entry.tag = blocks[k].tag;
            }
        }
        merged.push_back(entry);
    }
    return merged;
}

}  // namespace

std::uint32_t AllocRomSpace(ProjectContext& project, std::uint32_t size, std::uint32_t tag,
                            std::uint32_t alignment, BankHalf half) {
    // Offsets handed out reach up to 0x600000: only a 6 MB image owns the area.
    if (!project.Is6MB() || project.romImage.size() != kRomSize6MB) {
        return 0;
    }
    if (project.freeAreaUnrecordable) {
        Trace("Alloc: the free area is not recorded whole!\n");
        return 0;
    }
    if ((alignment & (alignment - 1)) != 0) {
        return 0;
    }
    if (size == 0 || size > kAreaSize) {
        return 0;
    }
    auto& table = project.allocTable;
    const auto freeEntry = std::find_if(table.begin(), table.end(),
                                        [](const AllocEntry& e) { return e.address == 0; });
    if (freeEntry == table.end()) {
        Trace("Alloc: run out of entries!\n");
        return 0;
    }
    const auto entry = static_cast<int>(freeEntry - table.begin());
    const std::uint32_t rounded = static_cast<std::uint32_t>(AlignUp(size, kGranule));
    Trace("Using entry:%d to alloc %u(%u) bytes...\n", entry, rounded, size);

    // A project file could carry any base; the area never starts below the first free offset.
    const Placement placement(table, std::max(project.allocBase, kAllocBase), rounded,
                              std::max<std::int64_t>(alignment, 1), half);
    const auto place = placement.Find();
    if (!place) {
        Trace("failed to alloc %d bytes\n", static_cast<int>(rounded));
        return 0;
    }
    *freeEntry = {static_cast<std::uint32_t>(*place), rounded, tag};
    return freeEntry->address;
}

void FreeRomSpace(ProjectContext& project, std::uint32_t tag) {
    if (tag == 0) {
        return;
    }
    auto& table = project.allocTable;
    const auto it = std::find_if(table.begin(), table.end(),
                                 [tag](const AllocEntry& e) { return e.tag == tag; });
    if (it != table.end()) {
        *it = AllocEntry{};
    }
}

std::vector<std::uint8_t> AllocTableBytes(const AllocTable& table) {
    std::vector<std::uint8_t> bytes(table.size() * sizeof(AllocEntry), 0);
    std::size_t at = 0;
    for (const AllocEntry& e : table) {
        PutU32(bytes, at, e.address);
        PutU32(bytes, at + 4, e.size);
        PutU32(bytes, at + 8, e.tag);
        at += sizeof(AllocEntry);
    }
    return bytes;
}

std::optional<AllocTable> AllocTableFromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kAllocEntryCount * sizeof(AllocEntry)) {
        return std::nullopt;
    }
    AllocTable table{};
    std::size_t at = 0;
    for (AllocEntry& e : table) {
        e = {GetU32(bytes, at), GetU32(bytes, at + 4), GetU32(bytes, at + 8)};
        at += sizeof(AllocEntry);
    }
    return table;
}

bool AllocTableIsSound(const AllocTable& table) {
    for (const AllocEntry& e : table) {
        if (e.address != 0 && (e.address < kAllocBase || e.address >= kAllocLimit ||
                               e.size > kAllocLimit - e.address)) {
            return false;
        }
    }
    const std::vector<Block> used = UsedByAddress(table);
    for (std::size_t i = 1; i < used.size(); ++i) {
        if (used[i].start < used[i - 1].end) {
            return false;
        }
    }
    return true;
}

bool RecordRomSpace(ProjectContext& project, std::vector<AllocEntry> blocks,
                    const std::function<bool(std::uint32_t tag)>& marked) {
    auto& table = project.allocTable;
    const std::vector<Block> used = UsedByAddress(table);
    // At one address a tagged block goes first, so that its tag is the one recorded there.
    std::sort(blocks.begin(), blocks.end(), [](const AllocEntry& a, const AllocEntry& b) {
        return a.address != b.address ? a.address < b.address : a.tag > b.tag;
    });
    std::vector<AllocEntry> parts;
    // Everything below `frontier` that a block reaches is covered: the block that reaches
    // furthest started at or below the one at hand.
    std::int64_t frontier = 0;
    for (const AllocEntry& b : blocks) {
        const std::int64_t end = std::int64_t{b.address} + b.size;
        std::int64_t at = std::max<std::int64_t>(b.address, frontier);
        frontier = std::max(frontier, end);
        const auto record = [&](std::int64_t to) {
            if (to > at) {
                parts.push_back({static_cast<std::uint32_t>(at),
                                 static_cast<std::uint32_t>(to - at), at == b.address ? b.tag : 0});
            }
        };
        // The entries of a sound table end in the order they start.
        auto u = std::upper_bound(used.begin(), used.end(), at,
                                  [](std::int64_t value, const Block& x) { return value < x.end; });
        for (; u != used.end() && u->start < end; ++u) {
            record(u->start);
            at = u->end;
        }
        record(end);
    }

    const auto freeCount = static_cast<std::size_t>(std::count_if(
        table.begin(), table.end(), [](const AllocEntry& e) { return e.address == 0; }));
    if (parts.size() <= freeCount) {
        auto next = table.begin();
        for (const AllocEntry& part : parts) {
            next =
                std::find_if(next, table.end(), [](const AllocEntry& e) { return e.address == 0; });
            *next = part;
        }
        return true;
    }
    std::vector<AllocEntry> all = parts;
    for (const AllocEntry& e : table) {
        if (e.address != 0) {
            all.push_back(e);
        }
    }
    std::sort(all.begin(), all.end(),
              [](const AllocEntry& a, const AllocEntry& b) { return a.address < b.address; });
    const std::vector<AllocEntry> merged =
        MergedNeighbours(all, kAllocEntryCount - kSpareEntries, marked);
    const std::size_t kept = std::min(merged.size(), kAllocEntryCount);
    table = {};
    std::copy_n(merged.begin(), kept, table.begin());
    if (kept < merged.size()) {
        Trace("Alloc: %u blocks in use do not fit the table!\n",
              static_cast<unsigned>(merged.size()));
        return false;
    }
    return true;
}

bool WriteAllocTableCopy(ProjectContext& project) {
    return project.Is6MB() &&
           project.WriteBytes(kAllocTableCopyOffset, AllocTableBytes(project.allocTable));
}
