#pragma once
// A repository record.
#include <memory>
#include <string>

#include "model/ABSAddress.h"
#include "model/ABSNote.h"

class WABSRepo {
public:
    virtual ~WABSRepo() = default;

    virtual std::string GetName() const = 0;
    virtual std::unique_ptr<WABSAddress> GetAddress() const = 0;
    virtual std::unique_ptr<WABSNote> GetNote() const = 0;
    virtual std::string GetRecordText() const { return {}; }
};
