// The folder index reader on any body: a folder copied from elsewhere brings its own index. The
// body is sealed with a right count and digest, so that the reader gets past them to the lines;
// what it accepts must read back the same after being written again.

#include "folderindex_p.h"

#include <QCryptographicHash>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray empty = Store::FolderIndex::serialize({});
    QByteArray body = empty.left(empty.indexOf('\n') + 1) +
                      QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!body.endsWith('\n'))
        body += '\n';
    const qsizetype files = body.count("\nF\t");
    const QByteArray text = body + "END\t" + QByteArray::number(files) + '\t' +
                            QCryptographicHash::hash(body, QCryptographicHash::Sha1).toHex() + '\n';
    const auto read = Store::FolderIndex::parse(text);
    if (!read)
        return 0;
    const auto again = Store::FolderIndex::parse(Store::FolderIndex::serialize(*read));
    if (!again || again->size() != read->size())
        std::abort();
    for (auto it = read->cbegin(); it != read->cend(); ++it) {
        const auto other = again->constFind(it.key());
        if (other == again->cend() || other->stamp != it->stamp ||
            other->items.size() != it->items.size())
            std::abort();
    }
    return 0;
}
