// Writes the seed corpus: a valid blocker for a few templates and selections,
// and a bare template. Run by scripts/fuzz.sh when the corpus is empty.
#include <fstream>
#include <string>

#include "app/catalogue/catalogue.h"
#include "builder/blocker_image.h"
#include "builder/property_bag.h"

namespace {

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Blocker(const std::string& tpl, bool all, const std::string& password) {
  qx::PropertyBag bag;
  for (std::size_t n = 0; n < qx::kEntryCount; ++n) {
    bag.WriteProperty(qx::kCatalogue[qx::BagOrder()[n]].bag_key,
                      static_cast<std::int16_t>(all || n % 3 == 0 ? -1 : 0));
  }
  bag.WriteProperty("Encpassword", password);
  const qx::BlockerTail tail = qx::PlanBlocker(tpl.size(), bag.Contents());
  return tpl.substr(0, tail.template_prefix) + tail.bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  Write(dir + "/one-byte-template", Blocker("M", false, ""));
  Write(dir + "/mixed-with-password", Blocker("MZ\x90\x00 template", false, "Kq;zAbTT"));
  Write(dir + "/all-ticked", Blocker("MZ", true, "x"));
  Write(dir + "/bare-template", std::string("MZ\x90\x00\x03\x00\x00\x00", 8));
  return 0;
}
