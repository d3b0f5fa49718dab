// The archive reader on arbitrary bytes: every member it accepts must lie wholly inside the file, and
// copying each one must read only inside it.
#include "archive/ZipReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    archive::MemorySource source(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const archive::ArchiveContents contents = archive::readArchive(source);
    qint64 memberBytes = 0;
    for (const archive::KeptMember& member : contents.members) {
        memberBytes += member.copyLength;
        if (memberBytes > qint64(size)) std::abort();
        if (member.localOffset < 0 || member.copyLength < archive::kLocalHeaderSize ||
            member.localOffset + member.copyLength > qint64(size))
            std::abort();
        qint64 copied = 0;
        const bool ok = archive::copyMember(source, member, [&](const char*, qint64 length) {
            copied += length;
            return true;
        });
        if (!ok || copied != member.copyLength) std::abort();
    }
    return 0;
}
