#pragma once
// The two halves of a project, as its archive holds them under
// "DataResourceData" (the media side) and "DVDData" (the disc side).

#include <memory>

class DataResource;
class DVDResource;

struct ProjectRoots {
    std::shared_ptr<DataResource> media;  // "DataResourceData"
    std::shared_ptr<DVDResource> disc;    // "DVDData"
};
