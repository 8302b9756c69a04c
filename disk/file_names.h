// The names of every file of a scenario, built from its name and train number.
#pragma once

#include <string>
#include <string_view>

namespace lorvena {

inline std::string line_description_name(std::string_view scenario) {
  return std::string(scenario) + "_linea.txt";
}
inline std::string train_description_name(std::string_view scenario, std::string_view train) {
  return std::string(scenario) + "_" + std::string(train) + "-.txt";
}
inline std::string notes_file_name(std::string_view scenario, std::string_view train) {
  return std::string(scenario) + "_" + std::string(train) + "_note.txt";
}
inline std::string slowdown_order_file_name(std::string_view scenario, std::string_view train) {
  return std::string(scenario) + "_" + std::string(train) + "_rallentamenti.txt";
}
inline std::string train_card_file_name(std::string_view scenario, std::string_view train) {
  return std::string(scenario) + "_" + std::string(train) + "_scheda_treno.txt";
}
inline std::string plan_file_name(std::string_view scenario) {
  return std::string(scenario) + "_linea.dat";
}
inline std::string table_file_name(std::string_view scenario, std::string_view train) {
  return std::string(scenario) + "_" + std::string(train) + ".sim";
}
inline std::string track_file_name(std::string_view scenario, std::string_view train) {
  return std::string(scenario) + "_" + std::string(train) + ".dat";
}

}  // namespace lorvena
