// fenta21-cli plot: pictures of data files without a display. The drawing needs Qt, which this
// program does not link: fenta21-plot draws them, and this command hands it its words.
#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "core/app/CompanionPrograms.h"
#include "core/app/Session.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace fenta21::cli {
namespace {

int runPlot(CommandContext& context) {
    std::string program = companionProgramPath(kPictureProgram);
    if (program.empty()) {
        JsonResult json(context, "plot");
        return json.finish(json.refuse(std::string(kPictureProgram) +
                                           ", which draws the pictures, is neither beside fenta21-cli nor on PATH",
                                       kExitFailed));
    }
    std::vector<std::string> words{program, "--home", context.session.homeFolder()};
    words.insert(words.end(), context.args.begin(), context.args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    // It takes over this process: its exit status and its output are the command's.
    std::fflush(nullptr);
    ::execv(program.c_str(), argv.data());
    JsonResult json(context, "plot");
    return json.finish(json.refuse("cannot start " + program + ": " + std::strerror(errno), kExitFailed));
}

}  // namespace

const CommandInfo kPlotCommand{
    "plot", "plot (FILE... | --station NAME) --out OUT.png|.svg|.pdf [--series A,B...] [--from T] [--to T] [--size WxH]",
    "Draws the records of data files as a picture, without a display: the traces of every series\n"
    "over one time axis (the logger's own time), series of different units in panes of their own,\n"
    "wind directions as points, no line across a gap longer than twice the interval. The picture\n"
    "is the one the data program (fenta21-data) shows, drawn by the same code.\n"
    "  --out FILE        the picture to write; its extension chooses PNG, SVG or PDF\n"
    "  --series A,B      only these series: their names as the legend shows them (\"平均風速\",\n"
    "                    \"ひずみ CH3\", \"STA01.v38: 気温\" when several files are drawn) or their\n"
    "                    numbers from 1; a name that matches nothing lists the series there are\n"
    "  --from T, --to T  the stretch of time drawn (2026-04-01T00:00:00, 2026-04-01 06:00 or\n"
    "                    2026-04-01); without them, every record\n"
    "  --size WxH        the picture's size in pixels (default 1600x900; a PDF page of that\n"
    "                    size at 96 dots per inch)\n"
    "  --station NAME    in place of files, the records of a station of the home folder's record\n"
    "                    store (see fenta21-cli db), on the station's own clock: its fixed offset\n"
    "                    from UTC, in which --from and --to are read too; a name the store does\n"
    "                    not know lists the stations there are\n"
    "The files' model tables come from the home folder. The picture is written aside and takes\n"
    "its name only when whole; its path is printed. With --json the result names the picture,\n"
    "the range and each series drawn with its record count, minimum, maximum and mean.\n"
    "Exit status: 0 done, 1 a file or the record store could not be read, there was nothing to draw\n"
    "or the picture could not be written, 2 usage error.\n",
    &runPlot,
};

}  // namespace fenta21::cli
