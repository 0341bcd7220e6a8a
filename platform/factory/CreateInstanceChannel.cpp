#include "CreateInstanceChannel.h"

#include "instance/DBusInstanceChannel.h"

namespace vexlo {

std::unique_ptr<InstanceChannel> CreateInstanceChannel(const PlatformContext& context,
                                                       const std::string& programFolder) {
    return std::make_unique<DBusInstanceChannel>(context.env, programFolder);
}

}  // namespace vexlo
