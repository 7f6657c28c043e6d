#pragma once

// A small waypoint graph written as text, over a real waypoints collection:
// waypoints are letters, "A>B:2" is a connection from A to B of cost 2
// (a cost that is left out is 0), and a letter that is not among the
// waypoints is a connection to a waypoint that is gone.

#include "world/navigation/WaypointMapGraph.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

class CWaypointTestGraph
{
public:
    explicit CWaypointTestGraph(const std::string& letters, const std::string& connections = "")
        : graph(waypoints)
    {
        for (const char letter : letters)
        {
            CManagedWaypoint waypoint;
            waypoint.SetId(Id(letter).c_str());
            waypoint.SetName(std::wstring(1, static_cast<wchar_t>(letter)));
            waypoints.AddUnit(waypoint);
        }
        std::istringstream words(connections);
        std::string word;
        while (words >> word)
        {
            CWaypointConnection connection;
            connection.SetWaypoint(Id(word.at(2)));
            if (word.size() > 4)
                connection.SetCost(std::strtof(word.c_str() + 4, nullptr));
            Waypoint(word.at(0)).AddConnection(connection);
        }
    }

    // The id of the letter's waypoint, whether or not there is one.
    static std::string Id(char letter)
    {
        char id[40];
        std::snprintf(id, sizeof id, "00000000-0000-4000-8000-0000000000%02x",
                      static_cast<unsigned char>(letter));
        return id;
    }
    // The letter of an id.
    static char Letter(const std::string& id)
    {
        return static_cast<char>(std::strtoul(id.substr(id.size() - 2).c_str(), nullptr, 16));
    }

    CManagedWaypoint& Waypoint(char letter) { return graph.GetWaypoint(Id(letter)); }

    CWaypointMap waypoints;
    CWaypointMapGraph graph;
};
