#include "codecs/Exif.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr char kExifHeader[] = "Exif\0\0"; // six bytes with the two NULs
constexpr qsizetype kExifHeaderSize = 6;
constexpr qsizetype kTiffHeaderSize = 8;
// Cameras write a few dozen fields per IFD; a record of 65527 bytes could not hold more than 5460.
constexpr int kMaxEntries = 1000;

constexpr quint16 kImageWidth = 0x0100;
constexpr quint16 kImageLength = 0x0101;
constexpr quint16 kMake = 0x010F;
constexpr quint16 kModel = 0x0110;
constexpr quint16 kExifPointer = 0x8769;
constexpr quint16 kGpsPointer = 0x8825;
constexpr quint16 kDateTimeOriginal = 0x9003;
constexpr quint16 kMakerNote = 0x927C;
constexpr quint16 kPixelXDimension = 0xA002;
constexpr quint16 kPixelYDimension = 0xA003;
constexpr quint16 kInteropPointer = 0xA005;

constexpr quint16 kTypeShort = 3;
constexpr quint16 kTypeLong = 4;
constexpr quint16 kTypeIfd = 13;

enum class Kind { Ifd0, Exif, Gps, Interop };

// Bytes per value of a TIFF field type; 0 for a type this reader does not know.
int typeSize(quint16 type) {
    switch (type) {
    case 1: // BYTE
    case 2: // ASCII
    case 6: // SBYTE
    case 7: // UNDEFINED
        return 1;
    case 3: // SHORT
    case 8: // SSHORT
        return 2;
    case 4:  // LONG
    case 9:  // SLONG
    case 11: // FLOAT
    case 13: // IFD
        return 4;
    case 5:  // RATIONAL
    case 10: // SRATIONAL
    case 12: // DOUBLE
        return 8;
    default:
        return 0;
    }
}

// Fields whose values are offsets to data outside the record's own structure (image strips, tiles,
// a thumbnail, sub-IFDs this reader does not follow): their offsets would point nowhere once the
// record is laid out anew.
bool pointsOutside(quint16 tag, quint16 type) {
    switch (tag) {
    case 0x0111: // StripOffsets
    case 0x0117: // StripByteCounts
    case 0x0144: // TileOffsets
    case 0x0145: // TileByteCounts
    case 0x014A: // SubIFDs
    case 0x0201: // JPEGInterchangeFormat
    case 0x0202: // JPEGInterchangeFormatLength
    case kExifPointer:
    case kGpsPointer:
    case kInteropPointer:
        return true;
    default:
        return type == kTypeIfd;
    }
}

// The IFD a pointer field leads to, when it is followed from an IFD of `kind`.
std::optional<Kind> childKind(Kind kind, quint16 tag) {
    if (kind == Kind::Ifd0 && tag == kExifPointer) return Kind::Exif;
    if (kind == Kind::Ifd0 && tag == kGpsPointer) return Kind::Gps;
    if (kind == Kind::Exif && tag == kInteropPointer) return Kind::Interop;
    return std::nullopt;
}

struct Entry {
    quint16 tag = 0;
    quint16 type = 0;
    quint32 count = 0;
    QByteArray value;         // count values in the record's byte order; unused for a pointer
    int child = -1;           // a pointer: the index of the IFD it leads to
    qint64 sourceOffset = -1; // where an out-of-line value stood in the source record
};

struct Ifd {
    Kind kind = Kind::Ifd0;
    std::vector<Entry> entries;
};

struct Record {
    bool bigEndian = false;
    std::vector<Ifd> ifds; // IFD0 first, then the others in the order they were reached
};

struct Damaged {};

class Reader {
public:
    explicit Reader(const QByteArray& data) : data_(data) {}

    Record read() {
        need(0, kTiffHeaderSize);
        const char* d = data_.constData();
        if (d[0] == 'I' && d[1] == 'I')
            record_.bigEndian = false;
        else if (d[0] == 'M' && d[1] == 'M')
            record_.bigEndian = true;
        else
            throw Damaged{};
        if (u16(2) != 42) throw Damaged{};
        claim(0, kTiffHeaderSize);
        readIfd(u32(4), Kind::Ifd0);
        // Every IFD and every value outside its IFD must have bytes of its own: overlapping ones mean
        // offsets that were written wrong or made to loop.
        std::sort(claims_.begin(), claims_.end());
        for (size_t i = 1; i < claims_.size(); ++i)
            if (claims_[i].first < claims_[i - 1].second) throw Damaged{};
        return std::move(record_);
    }

private:
    void need(qint64 at, qint64 length) const {
        if (at < 0 || length < 0 || at > data_.size() || length > data_.size() - at) throw Damaged{};
    }
    void claim(qint64 at, qint64 length) {
        need(at, length);
        if (length > 0) claims_.emplace_back(at, at + length);
    }
    quint16 u16(qint64 at) const {
        need(at, 2);
        const auto* p = reinterpret_cast<const uchar*>(data_.constData() + at);
        return record_.bigEndian ? quint16(p[0] << 8 | p[1]) : quint16(p[1] << 8 | p[0]);
    }
    quint32 u32(qint64 at) const {
        need(at, 4);
        const auto* p = reinterpret_cast<const uchar*>(data_.constData() + at);
        return record_.bigEndian ? quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]
                                 : quint32(p[3]) << 24 | quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0];
    }

    int readIfd(qint64 offset, Kind kind) {
        if (!visited_.insert(offset).second) throw Damaged{};
        const int count = u16(offset);
        if (count > kMaxEntries) throw Damaged{};
        // The entries and the offset of the next IFD.
        claim(offset, 2 + 12 * qint64(count) + 4);
        const int index = int(record_.ifds.size());
        record_.ifds.push_back(Ifd{kind, {}});
        std::vector<Entry> entries;
        std::set<quint16> pointers;
        for (int i = 0; i < count; ++i) {
            const qint64 at = offset + 2 + 12 * qint64(i);
            Entry entry;
            entry.tag = u16(at);
            entry.type = u16(at + 2);
            entry.count = u32(at + 4);
            if (const std::optional<Kind> child = childKind(kind, entry.tag)) {
                if ((entry.type != kTypeLong && entry.type != kTypeIfd) || entry.count != 1 ||
                    !pointers.insert(entry.tag).second)
                    throw Damaged{};
                entry.type = kTypeLong;
                entry.child = readIfd(u32(at + 8), *child);
                entries.push_back(std::move(entry));
                continue;
            }
            const int size = typeSize(entry.type);
            // A field of a type not known cannot be measured, and one pointing outside the record
            // cannot be carried: both are left out.
            if (size == 0 || pointsOutside(entry.tag, entry.type)) continue;
            const qint64 bytes = qint64(entry.count) * size;
            if (bytes <= 4) {
                entry.value = data_.mid(at + 8, bytes);
            } else {
                const qint64 valueOffset = u32(at + 8);
                claim(valueOffset, bytes);
                entry.value = data_.mid(valueOffset, bytes);
                entry.sourceOffset = valueOffset;
            }
            entries.push_back(std::move(entry));
        }
        record_.ifds[size_t(index)].entries = std::move(entries);
        return index;
    }

    const QByteArray& data_;
    Record record_;
    std::vector<std::pair<qint64, qint64>> claims_; // [start, end) of every structure read
    std::set<qint64> visited_;
};

std::optional<Record> parse(const QByteArray& data) {
    try {
        return Reader(data).read();
    } catch (const Damaged&) {
        return std::nullopt;
    }
}

const Entry* findEntry(const Ifd& ifd, quint16 tag) {
    for (const Entry& entry : ifd.entries)
        if (entry.tag == tag) return &entry;
    return nullptr;
}

const Ifd* findIfd(const Record& record, Kind kind) {
    for (const Ifd& ifd : record.ifds)
        if (ifd.kind == kind) return &ifd;
    return nullptr;
}

QString text(const Entry* entry) {
    if (!entry || typeSize(entry->type) != 1) return {};
    QByteArray bytes = entry->value;
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0) bytes.truncate(nul);
    while (!bytes.isEmpty() && bytes.back() == ' ')
        bytes.chop(1);
    for (char& c : bytes)
        if (uchar(c) < 0x20 || c == 0x7F) c = '?';
    return QString::fromUtf8(bytes);
}

QByteArray encoded16(quint16 value, bool bigEndian) {
    QByteArray out(2, '\0');
    out[bigEndian ? 0 : 1] = char(value >> 8);
    out[bigEndian ? 1 : 0] = char(value);
    return out;
}

QByteArray encoded32(quint32 value, bool bigEndian) {
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[bigEndian ? 3 - i : i] = char(value >> (8 * i));
    return out;
}

// A dimension keeps its type when that is a SHORT the value fits in; anything else becomes a LONG.
void setDimension(Entry& entry, int value, bool bigEndian) {
    entry.count = 1;
    entry.sourceOffset = -1;
    if (entry.type == kTypeShort && value <= 0xFFFF) {
        entry.value = encoded16(quint16(value), bigEndian);
    } else {
        entry.type = kTypeLong;
        entry.value = encoded32(quint32(value), bigEndian);
    }
}

void setOrAddDimension(Ifd& ifd, quint16 tag, int value, bool bigEndian, bool add) {
    for (Entry& entry : ifd.entries)
        if (entry.tag == tag) return setDimension(entry, value, bigEndian);
    if (!add) return;
    Entry entry;
    entry.tag = tag;
    entry.type = kTypeLong;
    setDimension(entry, value, bigEndian);
    const auto before = std::find_if(ifd.entries.begin(), ifd.entries.end(),
                                     [&](const Entry& other) { return other.tag > tag; });
    ifd.entries.insert(before, std::move(entry));
}

// Hands out word-aligned places one after the other, around one range kept for the maker note.
class Allocator {
public:
    Allocator(qint64 start, qint64 keptStart, qint64 keptEnd)
        : next_(start), keptStart_(keptStart), keptEnd_(keptEnd) {}
    qint64 place(qint64 size) {
        qint64 at = (next_ + 1) & ~qint64(1);
        if (at < keptEnd_ && at + size > keptStart_) at = (keptEnd_ + 1) & ~qint64(1);
        next_ = at + size;
        return at;
    }
    qint64 end() const { return std::max(next_, keptEnd_); }

private:
    qint64 next_;
    qint64 keptStart_;
    qint64 keptEnd_;
};

bool isMakerNote(const Ifd& ifd, const Entry& entry) {
    return ifd.kind == Kind::Exif && entry.tag == kMakerNote && entry.sourceOffset >= kTiffHeaderSize;
}

// The record written out: header, then each IFD followed by its values, in the order they were read.
// With `keepMakerNote` the maker note goes back to its offset in the source. Empty when it does not fit.
QByteArray layOut(const Record& record, bool keepMakerNote) {
    qint64 keptStart = 0;
    qint64 keptEnd = 0;
    const Entry* kept = nullptr;
    if (keepMakerNote)
        for (const Ifd& ifd : record.ifds)
            for (const Entry& entry : ifd.entries)
                if (!kept && isMakerNote(ifd, entry)) {
                    kept = &entry;
                    keptStart = entry.sourceOffset;
                    keptEnd = entry.sourceOffset + entry.value.size();
                }
    Allocator places(kTiffHeaderSize, keptStart, keptEnd);
    std::vector<qint64> tables(record.ifds.size());
    std::vector<std::vector<qint64>> values(record.ifds.size());
    for (size_t i = 0; i < record.ifds.size(); ++i) {
        const Ifd& ifd = record.ifds[i];
        tables[i] = places.place(2 + 12 * qint64(ifd.entries.size()) + 4);
        for (const Entry& entry : ifd.entries) {
            qint64 at = -1;
            if (entry.child < 0 && entry.value.size() > 4)
                at = &entry == kept ? keptStart : places.place(entry.value.size());
            values[i].push_back(at);
        }
    }
    if (places.end() > codecs::exif::kMaxRecordSize) return {};

    const bool big = record.bigEndian;
    QByteArray out(places.end(), '\0');
    const auto put = [&](qint64 at, const QByteArray& bytes) {
        std::memcpy(out.data() + at, bytes.constData(), size_t(bytes.size()));
    };
    put(0, big ? QByteArray("MM", 2) : QByteArray("II", 2));
    put(2, encoded16(42, big));
    put(4, encoded32(quint32(tables[0]), big));
    for (size_t i = 0; i < record.ifds.size(); ++i) {
        const Ifd& ifd = record.ifds[i];
        qint64 at = tables[i];
        put(at, encoded16(quint16(ifd.entries.size()), big));
        at += 2;
        for (size_t j = 0; j < ifd.entries.size(); ++j, at += 12) {
            const Entry& entry = ifd.entries[j];
            put(at, encoded16(entry.tag, big));
            put(at + 2, encoded16(entry.type, big));
            put(at + 4, encoded32(entry.count, big));
            if (entry.child >= 0) {
                put(at + 8, encoded32(quint32(tables[size_t(entry.child)]), big));
            } else if (values[i][j] < 0) {
                put(at + 8, entry.value);
            } else {
                put(at + 8, encoded32(quint32(values[i][j]), big));
                put(values[i][j], entry.value);
            }
        }
        // The offset of the next IFD stays 0: the thumbnail's IFD1 is not carried.
    }
    return out;
}

} // namespace

namespace codecs::exif {

QByteArray findRecord(const QByteArray& jpeg) {
    const auto* d = reinterpret_cast<const uchar*>(jpeg.constData());
    const qsizetype size = jpeg.size();
    if (size < 2 || d[0] != 0xFF || d[1] != 0xD8) return {};
    qsizetype pos = 2;
    while (pos < size) {
        if (d[pos] != 0xFF) return {};
        while (pos < size && d[pos] == 0xFF)
            ++pos; // fill bytes
        if (pos >= size) return {};
        const uchar marker = d[pos++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue; // no length
        if (marker == 0x00 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return {};
        if (size - pos < 2) return {};
        const qsizetype length = qsizetype(d[pos]) << 8 | d[pos + 1];
        if (length < 2 || length > size - pos) return {};
        if (marker == 0xE1 && length - 2 >= kExifHeaderSize &&
            std::memcmp(d + pos + 2, kExifHeader, size_t(kExifHeaderSize)) == 0)
            return jpeg.mid(pos + 2 + kExifHeaderSize, length - 2 - kExifHeaderSize);
        pos += length;
    }
    return {};
}

std::optional<CaptureFields> captureFields(const QByteArray& data) {
    const std::optional<Record> record = parse(data);
    if (!record) return std::nullopt;
    CaptureFields fields;
    const Ifd& ifd0 = record->ifds.front();
    fields.make = text(findEntry(ifd0, kMake));
    fields.model = text(findEntry(ifd0, kModel));
    if (const Ifd* exif = findIfd(*record, Kind::Exif))
        fields.dateTimeOriginal = text(findEntry(*exif, kDateTimeOriginal));
    return fields;
}

QByteArray rebuiltForSize(const QByteArray& data, int width, int height) {
    std::optional<Record> record = parse(data);
    if (!record || width <= 0 || height <= 0) return {};
    const bool big = record->bigEndian;
    for (Ifd& ifd : record->ifds) {
        if (ifd.kind == Kind::Ifd0) {
            setOrAddDimension(ifd, kImageWidth, width, big, false);
            setOrAddDimension(ifd, kImageLength, height, big, false);
        } else if (ifd.kind == Kind::Exif) {
            setOrAddDimension(ifd, kPixelXDimension, width, big, true);
            setOrAddDimension(ifd, kPixelYDimension, height, big, true);
        }
    }
    QByteArray out = layOut(*record, true);
    if (out.isEmpty()) out = layOut(*record, false);
    return out;
}

QByteArray withRecord(const QByteArray& jpeg, const QByteArray& record) {
    if (record.isEmpty() || record.size() > kMaxRecordSize || jpeg.size() < 2 || uchar(jpeg[0]) != 0xFF ||
        uchar(jpeg[1]) != 0xD8)
        return jpeg;
    const qsizetype length = 2 + kExifHeaderSize + record.size();
    QByteArray out;
    out.reserve(jpeg.size() + 2 + length);
    out.append(jpeg.constData(), 2);
    out.append(char(0xFF)).append(char(0xE1));
    out.append(char(length >> 8)).append(char(length & 0xFF));
    out.append(kExifHeader, kExifHeaderSize);
    out.append(record);
    out.append(jpeg.constData() + 2, jpeg.size() - 2);
    return out;
}

} // namespace codecs::exif
