#pragma once
// The submitter of the file.
#include <string>

class WABSSubmitter {
public:
    virtual ~WABSSubmitter() = default;

    virtual std::string GetName() const = 0;
    virtual std::string GetAddressLine1() const = 0;
    virtual std::string GetAddressLine2() const = 0;
    virtual std::string GetAddressLine3() const = 0;
    virtual std::string GetCountry() const = 0;
    virtual std::string GetPhone() const = 0;
    virtual std::string GetEmail() const = 0;
    virtual std::string GetRecordText() const = 0;
};
