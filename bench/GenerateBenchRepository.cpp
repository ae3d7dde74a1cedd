#include <exception>
#include <iostream>
#include <string>

#include "RepositoryGenerator.h"

// Writes one benchmark repository: GenerateBenchRepository <file count> <folder>.
int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: GenerateBenchRepository <file count> <folder>" << std::endl;
        return 2;
    }
    try {
        std::size_t parsed = 0;
        const unsigned long fileCount = std::stoul(argv[1], &parsed);
        if (parsed != std::string(argv[1]).size() || fileCount == 0) {
            throw std::invalid_argument("the file count must be a positive number");
        }
        const tamrivo::RepositorySummary summary = tamrivo::GenerateRepository(argv[2], fileCount);
        std::cout << "folders " << summary.folders << " (excluded " << summary.excludedFolders
                  << ", deepest " << summary.maxDepth << ")\n"
                  << "files " << summary.files << " (excluded " << summary.excludedFiles
                  << ", unknown kind " << summary.unknownKindFiles << ")\n"
                  << "project items " << summary.oneLineItems << " one-line, "
                  << summary.itemsWithChildren << " with child elements, " << summary.missingItems
                  << " missing from the tree\n"
                  << "project lines " << summary.projectLines << ", filters lines "
                  << summary.filtersLines << std::endl;
        return 0;
    } catch (const std::exception& failure) {
        std::cerr << "GenerateBenchRepository: " << failure.what() << std::endl;
        return 1;
    }
}
