// The file service CreateProvider is given by hosts without one of their
// own: the provider database is a copy of the template.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include "host/interfaced_object.hpp"

namespace orvdb::module {

class TemplateCopyService : public host::TInterfacedObjectEx<IFileService> {
public:
    // Copies the template to the target, creating the target's folder. Fails
    // when the template is missing or the target already exists: a provider's
    // data is never overwritten by an empty model.
    OrvHResult CreateFromTemplate(const char16_t* templatePath,
                                  const char16_t* targetPath) override;
};

ComPtr<IFileService> makeTemplateCopyService();

}  // namespace orvdb::module
