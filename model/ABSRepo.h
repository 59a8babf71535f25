#pragma once
// A repository record.
#include "model/ABSAddress.h"
#include "model/ABSNote.h"

#include <memory>
#include <string>

class WABSRepo {
public:
    virtual ~WABSRepo() = default;

    virtual std::string GetName() const = 0;
    virtual std::unique_ptr<WABSAddress> GetAddress() const = 0;
    virtual std::unique_ptr<WABSNote> GetNote() const = 0;
    virtual std::string GetRecordText() const { return {}; }
};
