// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/gamelist.h"

#include "common/names.h"
#include "launch/folderscan.h"
#include "titles/gameinfo.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

namespace GameList {

struct Games::Data {
    struct Span {
        uint32_t name, key;
        uint16_t nameLen, keyLen;
        bool ascii;
        uint8_t place; // 0: the folder itself; else the roms folder places[place] in it
    };
    std::vector<char> bytes; // every name and its case-folded sort key
    std::vector<Span> spans;
    std::vector<uint32_t> order; // spans in list order
    QString folder;
    std::vector<QByteArray> places{{}};
};
using Span = Games::Data::Span;

namespace {

// Collects the names and sorts them by index: a folder of 100,000 games lists several times
// faster than with a string object per name.
class Listing : public FolderScan::Sink
{
public:
    // Room for a big folder up front: only the part that is used is ever touched, and the
    // buffers are not copied again and again as they grow.
    Listing()
    {
        m_data.bytes.reserve(8 << 20);
        m_data.spans.reserve(256 << 10);
    }

    void add(const char *name, size_t len) override
    {
        std::vector<char> &bytes = m_data.bytes;
        const auto at = static_cast<uint32_t>(bytes.size());
        const bool ascii = std::all_of(name, name + len, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        bytes.insert(bytes.end(), name, name + len);
        uint32_t key = at; // an ASCII name is its own key, folded as it is read
        if (!ascii) {
            const QByteArray raw(name, static_cast<qsizetype>(len));
            const QString text = FolderScan::decode(raw);
            if (FolderScan::encode(text) != raw) {
                bytes.resize(at);
                return; // not valid text: it could be shown, but never launched under that name
            }
            const QByteArray folded = text.toCaseFolded().toUtf8();
            key = static_cast<uint32_t>(bytes.size());
            bytes.insert(bytes.end(), folded.cbegin(), folded.cend());
        }
        m_data.spans.push_back({at, key, static_cast<uint16_t>(len), static_cast<uint16_t>(bytes.size() - key), ascii,
                                static_cast<uint8_t>(m_data.places.size() - 1)});
    }

    void enter(const char *romsFolder, size_t len) override
    {
        if (m_data.places.size() <= UINT8_MAX) // "roms" has sixteen spellings at most
            m_data.places.emplace_back(romsFolder, static_cast<qsizetype>(len));
    }

    [[nodiscard]] Games::Data sorted() &&
    {
        std::vector<Entry> order(m_data.spans.size());
        for (uint32_t i = 0; i < order.size(); ++i)
            order[i] = {head(m_data.spans[i], 0), i};
        m_scratch.resize(order.size());
        sortFrom(order.data(), order.data() + order.size(), 0);
        m_data.order.reserve(order.size());
        for (const Entry &e : order)
            if (e.index != Twice)
                m_data.order.push_back(e.index);
        return std::move(m_data);
    }

private:
    struct Entry {
        uint32_t head; // four key bytes
        uint32_t index;
    };
    static constexpr size_t Step = sizeof(Entry::head);
    static constexpr uint32_t Twice = UINT32_MAX; // the first of two same names, once sorted

    // Sorts by four key bytes at a time, from `offset` on, and only the runs that tie go on
    // to the next four: names in a big folder tend to share a long start ("Game 0..."),
    // which a byte-wise comparison would go through again at every step.
    void sortFrom(Entry *first, Entry *last, size_t offset)
    {
        sortByHead(first, last);
        for (Entry *run = first; run != last;) {
            Entry *const end = std::find_if(run + 1, last, [run](const Entry &e) { return e.head != run->head; });
            if (end - run == 1) {
                // alone: in its place already
            } else if (std::any_of(run, end, [this, offset](const Entry &e) {
                           return m_data.spans[e.index].keyLen > offset + Step;
                       })) {
                for (Entry *e = run; e != end; ++e)
                    e->head = head(m_data.spans[e->index], offset + Step);
                sortFrom(run, end, offset + Step);
            } else { // the same key: the name decides, capitals first; a name in roms/ and beside it is one
                // game, the one in roms/, where the emulator looks first
                std::sort(run, end, [this](const Entry &a, const Entry &b) {
                    return nameBefore(a.index, b.index)
                        || (!nameBefore(b.index, a.index) && m_data.spans[a.index].place < m_data.spans[b.index].place);
                });
                for (Entry *e = run + 1; e != end; ++e)
                    if (!nameBefore(e[-1].index, e->index))
                        e[-1].index = Twice;
            }
            run = end;
        }
    }

    // A radix sort on the head's bytes, the last first; a byte that every entry shares costs
    // no pass, and small runs go to std::sort.
    void sortByHead(Entry *first, Entry *last)
    {
        const auto n = static_cast<size_t>(last - first);
        if (n < 256) {
            std::sort(first, last, [](const Entry &a, const Entry &b) { return a.head < b.head; });
            return;
        }
        std::array<std::array<uint32_t, 256>, Step> counts{};
        for (const Entry *e = first; e != last; ++e)
            for (size_t b = 0; b < Step; ++b)
                ++counts[b][e->head >> (8 * b) & 0xff];
        Entry *from = first, *to = m_scratch.data();
        for (size_t b = 0; b < Step; ++b) {
            std::array<uint32_t, 256> &place = counts[b];
            if (place[from->head >> (8 * b) & 0xff] == n)
                continue;
            uint32_t sum = 0;
            for (uint32_t &c : place)
                sum += std::exchange(c, sum);
            for (size_t i = 0; i < n; ++i)
                to[place[from[i].head >> (8 * b) & 0xff]++] = from[i];
            std::swap(from, to);
        }
        if (from != first)
            std::copy(from, from + n, first);
    }

    // Four key bytes from `offset` on, the first the most significant; a short key is padded
    // with zero bytes, which sort before any byte a name can hold.
    [[nodiscard]] uint32_t head(const Span &sp, size_t offset) const
    {
        unsigned char four[Step] = {};
        if (offset < sp.keyLen)
            std::memcpy(four, m_data.bytes.data() + sp.key + offset, std::min(Step, sp.keyLen - offset));
        uint32_t packed = 0;
        for (unsigned char byte : four)
            packed = packed << 8 | (sp.ascii && byte >= 'A' && byte <= 'Z' ? byte + 32u : byte);
        return packed;
    }

    [[nodiscard]] bool nameBefore(uint32_t a, uint32_t b) const
    {
        const Span &x = m_data.spans[a], &y = m_data.spans[b];
        const int c
            = std::memcmp(m_data.bytes.data() + x.name, m_data.bytes.data() + y.name, std::min(x.nameLen, y.nameLen));
        return c != 0 ? c < 0 : x.nameLen < y.nameLen;
    }

    Games::Data m_data;
    std::vector<Entry> m_scratch;
};

}

Games scan(const QString &folder)
{
    Listing listing;
    Games games;
    if (FolderScan::read(folder, listing)) {
        Games::Data data = std::move(listing).sorted();
        data.folder = folder;
        games.d = std::make_shared<const Games::Data>(std::move(data));
    }
    return games;
}

std::future<Games> startScan(const QString &folder)
{
    return std::async(std::launch::async, scan, folder);
}

int Games::size() const
{
    return d ? static_cast<int>(d->order.size()) : 0;
}

QString Games::at(int row) const
{
    const Span &sp = d->spans[d->order[static_cast<size_t>(row)]];
    const char *name = d->bytes.data() + sp.name;
    const auto len = static_cast<qsizetype>(sp.nameLen);
    return sp.ascii ? QString::fromLatin1(name, len) : FolderScan::decode(QByteArray(name, len));
}

QString Games::path(int row) const
{
    const uint8_t place = d->spans[d->order[static_cast<size_t>(row)]].place;
    return place ? FolderScan::decode(d->places[place]) + u'/' + at(row) : at(row);
}

QString Games::folder() const
{
    return d ? d->folder : QString();
}

int Games::gameCount() const
{
    // The same exact-name test as the launch refusal: o2rom.bin is a game like any other.
    const QByteArray rom = Names::RomFile.toLatin1();
    const auto isRom = [this, &rom](uint32_t index) {
        const Span &sp = d->spans[index];
        return sp.nameLen == rom.size() && std::memcmp(d->bytes.data() + sp.name, rom.constData(), sp.nameLen) == 0;
    };
    return d ? size() - static_cast<int>(std::count_if(d->order.cbegin(), d->order.cend(), isRom)) : 0;
}

void Model::setGames(const Games &games)
{
    beginResetModel();
    m_games = games;
    m_info.clear();
    endResetModel();
}

QString Model::path(const QModelIndex &index) const
{
    return index.isValid() ? m_games.path(index.row()) : QString();
}

int Model::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_games.size();
}

QVariant Model::data(const QModelIndex &index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row >= m_games.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_games.at(row);
    case Qt::ToolTipRole:
    case Qt::WhatsThisRole:
    case Qt::AccessibleDescriptionRole: {
        // Read when first asked for, and kept: a start opens no game file.
        auto it = m_info.find(row);
        if (it == m_info.end())
            it = m_info.insert(row,
                               GameInfo::describe(m_games.at(row), QDir(m_games.folder()).filePath(m_games.path(row))));
        return *it;
    }
    default:
        return {};
    }
}

}
