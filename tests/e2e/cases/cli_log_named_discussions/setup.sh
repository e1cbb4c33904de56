mv chat.log Discussions.HTML
