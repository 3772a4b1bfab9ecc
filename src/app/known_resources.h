// The resources this program was built with, as the build recorded them
// (tools/facts/resource_facts.cpp writes the definitions).
#pragma once

#include <span>
#include <string_view>

#include "platform/known_files.h"

// `resourceDigest` of the recorded kivResources folder.
extern const std::string_view kKnownResourceDigest;
// Every regular file of that folder, in name order.
extern const std::span<const platform::KnownFile> kKnownResources;
