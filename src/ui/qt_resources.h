#pragma once

#include "resources.h"

namespace ep {

// The resources compiled into the program, at ":/Custom/<id>".
class QtResources : public ResourceSource {
public:
    std::optional<std::string> Load(int id, std::string_view type) const override;
};

}  // namespace ep
