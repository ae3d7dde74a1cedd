#include "app/Banner.h"

#include <ostream>

#include "platform/VersionInfo.h"

namespace tamrivo {

void PrintBanner(const std::string& programPath, std::ostream& output) {
    static constexpr char kBuildDate[] = __DATE__;
    const std::optional<VersionTexts> texts = ProgramVersionTexts(programPath);
    if (!texts) {
        return;
    }
    output << texts->name << " version " << texts->version << " from " << kBuildDate << std::endl;
    output << texts->legal << std::endl;
}

}  // namespace tamrivo
