#include "tests/update/ZipSandbox.h"

#include <sstream>

#include "update/ZipExtractor.h"

bool ZipSandbox::ExtractZip(unsigned long long limit) {
    CZipExtractor extractor(m_zip.c_str());
    extractor.SetSizeLimit(limit);
    return extractor.SetOutputFolder(m_dest.c_str()) && extractor.ExtractAll(false);
}

std::string ZipSandbox::Sandbox() const {
    std::istringstream names(ListTree(m_sandbox.Path()));
    std::string list;
    for (std::string name; names >> name;) {
        if (name != m_zip.filename().string())
            list += (list.empty() ? "" : " ") + name;
    }
    return list;
}
