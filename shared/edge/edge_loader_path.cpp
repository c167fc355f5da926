#include "shared/edge/edge_loader_path.h"

namespace vantrel {

ustring EdgeLoaderPath;

}  // namespace vantrel
