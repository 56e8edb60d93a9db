#include "platform/StringObjects.h"

#include "platform/StandInState.h"

namespace platform {

namespace {

class StringObject final : public Object {
 public:
  explicit StringObject(std::string_view text) : text_(text) {}
  std::string_view ClassName() const override { return "String"; }
  std::optional<Answer> Receive(std::string_view, const Arguments&) override { return std::nullopt; }
  const std::string* HeldText() const override { return &text_; }

 private:
  std::string text_;
};

}  // namespace

Id MakeStringObject(StandInState& state, std::string_view text) { return Make<StringObject>(state, text); }

Id NewStringObject(std::string_view text) { return MakeStringObject(State(), text); }

std::string StringObjectText(Id string) {
  const std::string* text = string ? string->HeldText() : nullptr;
  return text ? *text : std::string();
}

}  // namespace platform
