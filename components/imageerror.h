#pragma once
// The metadata reader's failure: carries a readable description and nothing else.
#include <QString>
#include <stdexcept>

namespace orvello {

class ImageError : public std::runtime_error {
public:
    explicit ImageError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description)
    {
    }
    const QString& description() const { return description_; }

private:
    QString description_;
};

}  // namespace orvello
