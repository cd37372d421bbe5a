// Keeps the resource object library non-empty while no resource is listed.
namespace resources_anchor {}
