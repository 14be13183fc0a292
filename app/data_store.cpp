#include "app/data_store.h"

#include <fstream>
#include <sstream>

namespace app {

// The model file is text: comment lines start with '#', and the first other line is "model NAME".
std::shared_ptr<ManagedObjectModel> ManagedObjectModel::initWithContentsOfURL(
    const std::filesystem::path& url, std::string& whyNot) {
  std::ifstream in(url);
  if (!in) {
    whyNot = "cannot be read";
    return nullptr;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line.front() == '#') continue;
    std::istringstream words(line);
    std::string keyword;
    std::string name;
    if (words >> keyword >> name && keyword == "model")
      return std::shared_ptr<ManagedObjectModel>(new ManagedObjectModel(name));
    break;
  }
  whyNot = "is not a data model (its first line should be \"model NAME\")";
  return nullptr;
}

bool ManagedObjectContext::save(std::string& error) {
  if (!coordinator_) {
    error = "no store coordinator";
    return false;
  }
  ++savesDone_;
  return true;
}

}  // namespace app
