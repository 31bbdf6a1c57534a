// Any bytes as a macro file to import and show, and as device memory read
// back: the import check, the editor's rows, the saved steps and the packed
// and unpacked images run over them.

#include "panels/macro_image.h"
#include "panels/macro_key_tables.h"
#include "panels/macro_library.h"
#include "panels/macro_recorder.h"
#include "profiles/json_file.h"

#include "fuzz/work_folder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void ShowAndSave(const std::vector<MacroEvent>& events)
{
    CMacroRecorder recorder([] { return uint64_t{0}; });
    recorder.Show(events);
    for (const MacroRow& row : recorder.Rows())
        if (row.event)
            LabelOfStep(*row.event);
    recorder.Select(static_cast<int>(events.size() / 2));
    recorder.MoveActionToTop();
    recorder.InsertMouseAction(kLeftDown, 0, 0, 50);
    const std::vector<MacroEvent> saved = recorder.EventsToSave();
    if (saved.size() > kMaxMacroEvents)
        std::abort();
    const auto image = PackMacroImage({saved, events});
    if (image && !UnpackMacroImage(*image))
        std::abort();  // what was packed must read back
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    UnpackMacroImage(std::vector<uint8_t>(data, data + size));

    const std::string folder = WorkFolder();
    std::filesystem::remove(folder + kMacroListFileName);
    const std::string path = folder + "in.mac";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    CMacroLibrary library;
    library.SetFolder(folder);
    library.Load();
    if (library.Import(path) == MacroImport::kImported) {
        const std::vector<MacroEvent> events = library.ReadEvents(library.Entries().size() - 1);
        if (events.size() > kMaxMacroEvents)
            std::abort();  // the import check let a long macro through
        ShowAndSave(events);
        library.Remove(library.Entries().size() - 1);
    }
    ShowAndSave(EventsOfDocument(ParseJsonText(bytes)));
    return 0;
}
