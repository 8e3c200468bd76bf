#include "core/base/Cp932.h"
#include "core/datafile/CsvConversion.h"
#include "core/datafile/HeaderListing.h"
#include "core/datafile/RecordPage.h"
#include "sim/image/DataImage.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gtest/gtest.h>

#include <random>

namespace fenta21 {
namespace {

// Files damaged at random, header offsets included: the converter and the viewer must end
// with a result, never run past the bytes they were given (the sanitizer build checks that)
// and never loop. The seed is fixed so that a failure can be repeated.
TEST(DamagedFiles, ConversionAndViewerAlwaysEnd) {
    test::TempHome home;
    test::installConfiguration(home);
    ModelRegistry models(home.path());
    models.loadModelTable();

    sim::ImageRecipe recipe;
    recipe.modelCode = "WNDA-01";
    recipe.startMarkers = 2;
    recipe.instants = 40;
    recipe.channels = {{0, 20, 53, 7}, {1, 72, 1, 1}, {2, 24, -50, 3}, {3, 5, -23, 4}};
    const std::string pristine = sim::buildDataImage(recipe);

    std::mt19937 random(20261208);
    int questionsAnswered = 0;
    CsvConversionContext context{identifyThrough(models), [&](const std::string&) {
                                     ++questionsAnswered;
                                     return true;
                                 }};
    for (int round = 0; round < 400; ++round) {
        std::string image = pristine;
        int damage = 1 + static_cast<int>(random() % 24);
        for (int i = 0; i < damage; ++i) {
            std::size_t at = random() % 3 == 0 ? 2 + random() % 8 : 640 + random() % (image.size() - 640);
            image[at] = static_cast<char>(random());
        }
        if (round % 5 == 0) image.resize(random() % image.size());
        if (round % 7 == 0) {
            // Offsets anywhere, the record area backwards or far past the end of the file.
            for (std::size_t i = 2; i < 10 && i < image.size(); ++i) image[i] = static_cast<char>(random());
        }
        CsvConversion conversion = convertImageToCsv(image, "damaged.v38", context);
        EXPECT_TRUE(conversion.outcome == ConversionOutcome::Completed ||
                    conversion.outcome == ConversionOutcome::Failed)
            << "round " << round;
        EXPECT_EQ(conversion.outcome == ConversionOutcome::Failed, !conversion.failure.empty()) << "round " << round;
        listHeader(image, home.path());
        for (int page = 0; page < 3; ++page) readRecordPage(image, page);
    }
    EXPECT_GT(questionsAnswered, 0) << "the damage reached the records";
}

}  // namespace
}  // namespace fenta21
