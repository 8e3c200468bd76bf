#include "tests/soak/GrowingImage.h"

#include "core/collect/Block.h"
#include "sim/CollectionImage.h"
#include "sim/image/DataImage.h"

namespace fenta21::test {

void GrowingImage::recordMore(Random& random) {
    if (instants_ == 0 || instants_ > growth_.mostInstants) {
        logger_.setMemoryImage("");
        instants_ = random.pick(growth_.firstFrom, growth_.firstTo);
        firstValue_ = random.pick(0, 900);
    } else {
        instants_ += random.pick(growth_.moreFrom, growth_.moreTo);
    }
    const sim::ImageChannel all[] = {{0, 20, firstValue_, 1, 0}, {1, 72, 3, 0, 0}, {2, 22, 120, 0, 0}};
    sim::ImageRecipe recipe;
    recipe.modelCode = "WNDA-01";
    recipe.instants = instants_;
    recipe.channels.assign(all, all + growth_.channels);
    image_ = sim::buildDataImage(recipe);
    logger_.setMemoryImage(image_);
}

int GrowingImage::blocks() const {
    return static_cast<int>((sim::imageEndOffset(image_) + kBlockPayload - 1) / kBlockPayload);
}

}  // namespace fenta21::test
