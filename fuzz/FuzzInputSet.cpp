// Any bytes as a file of inputs: the reader either refuses them with a problem or gives a set
// that passes its own check and comes back unchanged through the writer.
#include "korvelin/InputSet.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const korvelin::InputSetParse parse = korvelin::ParseInputSet(bytes);
    if (!parse.Set) {
        if (parse.Problem.empty()) {
            __builtin_trap();
        }
        return 0;
    }
    if (!parse.Problem.empty() || !korvelin::InputSetProblem(*parse.Set).empty()) {
        __builtin_trap();
    }
    const korvelin::InputSetParse again = korvelin::ParseInputSet(korvelin::SerializeInputSet(*parse.Set));
    if (!again.Set || !(*again.Set == *parse.Set)) {
        __builtin_trap();
    }
    return 0;
}
