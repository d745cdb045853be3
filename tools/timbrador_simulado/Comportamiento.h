#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace timbrador {

// Which of the two stamped files reach the valid folder.
enum class Entrega { XML_y_PDF, Solo_XML, Solo_PDF };

// What a pass does with the files it finds in a queue.
struct Comportamiento {
    // How long a file must have been in the queue before it is taken (at least one second).
    std::chrono::seconds demora{0};
    Entrega entrega = Entrega::XML_y_PDF;
    // When set, every file is rejected with this reason, valid or not.
    std::optional<std::string> falla;
};

}  // namespace timbrador
