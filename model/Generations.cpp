#include "model/Generations.h"

#include <algorithm>
#include <string>

#include "model/ABSCollection.h"
#include "model/FloatArray.h"
#include "model/IntArray.h"

WGenerations::WGenerations(WABSCollection& collection) : m_collection(collection) {}

WGenerations::~WGenerations() = default;

std::int32_t WGenerations::size() {
    if (m_count < 0) m_count = m_collection.GetIndividualCount();
    return m_count;
}

std::uint32_t WGenerations::nextEpoch() {
    if (m_visited.empty()) m_visited.assign(static_cast<std::size_t>(size()) + 1, 0);
    if (++m_epoch == 0) {
        // Wrapped: old stamps could pass for new ones.
        std::fill(m_visited.begin(), m_visited.end(), 0);
        m_epoch = 1;
    }
    return m_epoch;
}

bool WGenerations::hasFamily(Direction dir, std::int32_t individual) {
    return dir == Up ? m_collection.LinkParentFamilyCount(individual) > 0
                     : m_collection.LinkSpouseFamilyCount(individual) > 0;
}

void WGenerations::appendRelatives(Direction dir, std::int32_t individual, std::vector<std::int32_t>& out) {
    const std::int32_t families = m_collection.GetMarriageCount();
    const std::int32_t n = size();
    auto keep = [n](std::int32_t i) { return i >= 1 && i <= n ? i : 0; };
    if (dir == Up) {
        const std::int32_t k = m_collection.LinkParentFamilyCount(individual);
        for (std::int32_t f = 1; f <= k; ++f) {
            const std::int32_t family = m_collection.LinkParentFamily(individual, f);
            if (family < 1 || family > families) continue;
            out.push_back(keep(m_collection.LinkHusband(family)));
            out.push_back(keep(m_collection.LinkWife(family)));
        }
    } else {
        const std::int32_t k = m_collection.LinkSpouseFamilyCount(individual);
        for (std::int32_t f = 1; f <= k; ++f) {
            const std::int32_t family = m_collection.LinkSpouseFamily(individual, f);
            if (family < 1 || family > families) continue;
            m_collection.LinkChildren(family, m_scratch);
            for (std::int32_t c : m_scratch) out.push_back(keep(c));
        }
    }
}

// ---------------------------------------------------------------- counts

std::int32_t WGenerations::numRelatives(Direction dir, std::int32_t individual) {
    Side& side = m_side[dir];
    if (!side.count) {
        side.count = std::make_unique<WIntArray>(std::string(), size());
        side.count->Fill(-1);
    }
    if (individual < 1 || individual > size()) return 0;
    const std::int32_t cached = side.count->GetValue(individual);
    if (cached >= 0) return cached;

    const std::uint32_t epoch = nextEpoch();
    m_visited[static_cast<std::size_t>(individual)] = epoch;
    std::vector<std::int32_t> work;
    appendRelatives(dir, individual, work);
    std::int32_t n = 0;
    while (!work.empty()) {
        notePeak(work.size());
        const std::int32_t j = work.back();
        work.pop_back();
        if (j == 0 || m_visited[static_cast<std::size_t>(j)] == epoch) continue;
        m_visited[static_cast<std::size_t>(j)] = epoch;
        ++n;
        appendRelatives(dir, j, work);
    }
    side.count->SetValue(individual, n);
    return n;
}

std::int32_t WGenerations::GetNumAncestors(std::int32_t individual) { return numRelatives(Up, individual); }

std::int32_t WGenerations::GetNumDescendants(std::int32_t individual) { return numRelatives(Down, individual); }

// ---------------------------------------------------------------- depths

std::int32_t WGenerations::depth(Direction dir, std::int32_t individual) {
    if (individual <= 0) return -1;
    Side& side = m_side[dir];
    if (!side.depth) {
        side.depth = std::make_unique<WIntArray>(std::string(), size());
        side.depth->Fill(-1);
    }
    if (individual > size()) return 0;
    WIntArray& table = *side.depth;
    if (table.GetValue(individual) >= 0) return table.GetValue(individual);
    if (m_onStack.empty()) m_onStack.assign(static_cast<std::size_t>(size()) + 1, 0);

    // One frame per individual in progress; its relatives wait in the arena.
    struct Frame {
        std::int32_t individual;
        std::size_t begin, pos, end;
        std::int32_t depth;
    };
    std::vector<Frame> frames;
    std::vector<std::int32_t> arena;
    std::int32_t result = 0;

    // Depth of j when known at once; otherwise opens a frame and gives -1.
    auto enter = [&](std::int32_t j) -> std::int32_t {
        if (j == 0) return 0;
        const std::int32_t cached = table.GetValue(j);
        if (cached >= 0) return cached;
        if (m_onStack[static_cast<std::size_t>(j)]) return 0; // the line loops back here
        if (!hasFamily(dir, j)) {
            table.SetValue(j, 0);
            return 0;
        }
        const std::size_t begin = arena.size();
        appendRelatives(dir, j, arena);
        frames.push_back(Frame{j, begin, begin, arena.size(), 0});
        m_onStack[static_cast<std::size_t>(j)] = 1;
        notePeak(frames.size());
        return -1;
    };

    result = enter(individual);
    while (!frames.empty()) {
        const std::size_t top = frames.size() - 1;
        if (frames[top].pos < frames[top].end) {
            const std::int32_t rel = arena[frames[top].pos++];
            const std::int32_t d = enter(rel);
            if (d >= 0) frames[top].depth = std::max(frames[top].depth, d);
            continue;
        }
        const Frame done = frames.back();
        frames.pop_back();
        arena.resize(done.begin);
        m_onStack[static_cast<std::size_t>(done.individual)] = 0;
        const std::int32_t d = done.depth + 1;
        table.SetValue(done.individual, d);
        if (frames.empty())
            result = d;
        else
            frames.back().depth = std::max(frames.back().depth, d);
    }
    return result;
}

std::int32_t WGenerations::GetAncestorGenerations(std::int32_t individual) { return depth(Up, individual); }

std::int32_t WGenerations::GetDescendantGenerations(std::int32_t individual) { return depth(Down, individual); }

// ---------------------------------------------------------------- averages

void WGenerations::computeAverage(Direction dir, std::int32_t individual) {
    Side& side = m_side[dir];
    WFloatArray& sum = *side.sum;
    WFloatArray& lines = *side.lines;
    if (m_onStack.empty()) m_onStack.assign(static_cast<std::size_t>(size()) + 1, 0);

    struct Frame {
        std::int32_t individual;
        std::size_t begin, pos, end;
        long double s, c;
    };
    std::vector<Frame> frames;
    std::vector<std::int32_t> arena;

    // True when j is settled at once; otherwise opens a frame.
    auto enter = [&](std::int32_t j) -> bool {
        if (m_onStack[static_cast<std::size_t>(j)]) {
            // A loop: the closing individual adds one line and no more.
            sum.SetValue(j, 0);
            lines.SetValue(j, 0);
            return true;
        }
        if (sum.GetValue(j) >= 0) return true;
        if (!hasFamily(dir, j)) {
            sum.SetValue(j, 0);
            lines.SetValue(j, 0);
            return true;
        }
        const std::size_t begin = arena.size();
        appendRelatives(dir, j, arena);
        frames.push_back(Frame{j, begin, begin, arena.size(), 0, 0});
        m_onStack[static_cast<std::size_t>(j)] = 1;
        notePeak(frames.size());
        return false;
    };
    auto add = [&](Frame& f, std::int32_t p) {
        const long double s = sum.GetValue(p);
        if (s >= 0) {
            const long double c = lines.GetValue(p);
            f.s += s + c + 1;
            f.c += c + 1;
        }
    };

    enter(individual);
    while (!frames.empty()) {
        const std::size_t top = frames.size() - 1;
        if (frames[top].pos < frames[top].end) {
            const std::int32_t rel = arena[frames[top].pos++];
            if (rel == 0) continue;
            if (enter(rel)) add(frames[top], rel);
            continue;
        }
        const Frame done = frames.back();
        frames.pop_back();
        arena.resize(done.begin);
        m_onStack[static_cast<std::size_t>(done.individual)] = 0;
        sum.SetValue(done.individual, done.s);
        lines.SetValue(done.individual, done.c);
        if (!frames.empty()) add(frames.back(), done.individual);
    }
}

double WGenerations::average(Direction dir, std::int32_t individual) {
    if (individual <= 0) return -1.0;
    Side& side = m_side[dir];
    if (!side.sum) {
        side.sum = std::make_unique<WFloatArray>(std::string(), size());
        side.lines = std::make_unique<WFloatArray>(std::string(), size());
        side.sum->Fill(-1.0L);
        side.lines->Fill(-1.0L);
    }
    if (individual > size()) return 0.0;
    if (side.sum->GetValue(individual) < 0) computeAverage(dir, individual);
    const long double s = side.sum->GetValue(individual);
    const long double c = side.lines->GetValue(individual);
    return c > 0 ? static_cast<double>(s / c) : 0.0;
}

double WGenerations::GetAvgAncestorGenerations(std::int32_t individual) { return average(Up, individual); }

double WGenerations::GetAvgDescendantGenerations(std::int32_t individual) { return average(Down, individual); }
