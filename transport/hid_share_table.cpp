#include "transport/hid_share_table.h"

#include <map>
#include <mutex>

namespace {

struct ShareCounts {
    int writers = 0;
    int exclusive = 0;
};

std::mutex& TableLock()
{
    static std::mutex lock;
    return lock;
}

std::map<std::string, ShareCounts>& Table()
{
    static std::map<std::string, ShareCounts> table;
    return table;
}

}  // namespace

std::unique_ptr<HidShareClaim> HidShareClaim::Take(const std::string& path, const HidAccess& access)
{
    std::lock_guard<std::mutex> guard(TableLock());
    ShareCounts& counts = Table()[path];
    if ((access.write && counts.exclusive > 0) || (access.exclusive && counts.writers > 0)) {
        if (counts.writers == 0 && counts.exclusive == 0)
            Table().erase(path);
        return nullptr;
    }
    counts.writers += access.write ? 1 : 0;
    counts.exclusive += access.exclusive ? 1 : 0;
    return std::unique_ptr<HidShareClaim>(new HidShareClaim(path, access));
}

HidShareClaim::~HidShareClaim()
{
    std::lock_guard<std::mutex> guard(TableLock());
    auto entry = Table().find(path_);
    if (entry == Table().end())
        return;
    entry->second.writers -= access_.write ? 1 : 0;
    entry->second.exclusive -= access_.exclusive ? 1 : 0;
    if (entry->second.writers == 0 && entry->second.exclusive == 0)
        Table().erase(entry);
}
