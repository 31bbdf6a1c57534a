#include "app/exchange_rules.h"

#include "platform/product.h"
#include "transport/device_table.h"

#include <QString>
#include <QStringList>
#include <QtEndian>

std::size_t CopyDataBytesTaken(std::uintptr_t kind, std::size_t size)
{
    if (kind == kSoundDataKind && size == kSoundDataBytes)
        return kSoundDataBytes;
    if (kind == kStyleColorKind && size >= kStyleColorBytes)
        return kStyleColorBytes;
    return 0;
}

namespace {

class StatusWriter {
public:
    explicit StatusWriter(QByteArray& block) : block_(block) {}
    void Put(uint32_t value)
    {
        if (offset_ + 4 > block_.size())
            return;
        qToLittleEndian(value, block_.data() + offset_);
        offset_ += 4;
    }

private:
    QByteArray& block_;
    qsizetype offset_ = 0;
};

}  // namespace

QByteArray WorkToolStatusBlock()
{
    QByteArray block(kWorkToolStatusBytes, '\0');
    StatusWriter writer(block);
    for (const QString& part : QString::fromLatin1(kProgramVersion).split(QLatin1Char('.')))
        writer.Put(part.toUInt());
    writer.Put(static_cast<uint32_t>(DeviceFamilyTable.size()));
    for (const DeviceFamilyRow& family : DeviceFamilyTable) {
        writer.Put(family.vendorId);
        writer.Put(family.productId);
        writer.Put(family.kind);
    }
    return block;
}
