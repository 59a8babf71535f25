#pragma once
// A postal address.
#include <string>

class WABSAddress {
public:
    virtual ~WABSAddress() = default;

    // The whole address text.
    virtual std::string GetAddress() const = 0;
    virtual std::string GetAddress1() const = 0;
    virtual std::string GetAddress2() const = 0;
    virtual std::string GetCity() const = 0;
    virtual std::string GetState() const = 0;
    virtual std::string GetPostalCode() const = 0;
    virtual std::string GetCountry() const = 0;
    virtual std::string GetPhone() const = 0;
};
